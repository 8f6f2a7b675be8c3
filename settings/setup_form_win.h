#pragma once
// The settings dialog "オプション設定": the data-file password, start hidden, the timing of
// macro keystrokes and the two options of a macro run, and the expiry warning. It edits the
// settings holder in memory; the holder writes the settings file when the program ends, and
// never the password.
#include <windows.h>

#include <string>

#include "settings/init_param.h"
#include "win/dialog.h"
#include "win/font.h"

namespace torvane {

class TPassList;

class TSetupForm : public win::Dialog {
public:
    explicit TSetupForm(TInitParam& params);

    // After OK: the password was changed, typed twice alike.
    bool PasswordChanged() const { return passwordChanged_; }

    // The spins' ranges.
    static constexpr int kKeyDelayMin = 10, kKeyDelayMax = 1000;
    static constexpr int kKeyPauseMin = 100, kKeyPauseMax = 10000;
    static constexpr int kAlermDateMin = 1, kAlermDateMax = 90;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void FormCreate();
    void OkBtnClick();
    // The new password once it was confirmed; otherwise the held one stays, with a message
    // when the two entries differed.
    void TakePassword(const std::string& typed);
    void CreateSpins();
    void LayOut();
    int SpinValue(int id) const;
    void SetSpin(int id, int value);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);

    TInitParam& params_;
    bool passwordChanged_ = false;
    win::Font font_{win::kFormFontFace, win::kFormFontHeight};
};

// The settings command: shows the dialog over owner. A password taken marks the records as
// changed, so that the next save, or the one at close, writes the data file under it. Returns
// the dialog's result; the caller then redisplays its selection whatever the result.
INT_PTR ShowSetupForm(HWND owner, TInitParam& params, TPassList* records);

}  // namespace torvane
