#pragma once
// The base of every dialog: a DIALOGEX template in res/ plus one class with public in/out fields.
// The caller fills the in fields, calls ShowModal(owner), reads the out fields and lets the
// object go.
//
//   class TMyForm : public win::Dialog {
//   public:
//       TMyForm() : Dialog(IDD_MYFORM) {}
//       std::string name;                        // in/out
//   protected:
//       bool OnInitDialog() override { ...; return true; }
//       void OnOK() override { name = ...; Dialog::OnOK(); }
//   };
//   TMyForm form;
//   form.name = "...";
//   if (form.ShowModal(owner) == IDOK) use(form.name);
//
// Messages reach HandleMessage from WM_INITDIALOG on; its default dispatches WM_INITDIALOG to
// OnInitDialog and WM_COMMAND to OnCommand, which sends IDOK to OnOK and IDCANCEL (also Esc and
// the close box) to OnCancel. An exception from any handler is shown in the error box and the
// dialog goes on.
#include <windows.h>

#include <vector>

namespace torvane::win {

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Shows the dialog modally (DialogBoxParamW) and returns its modal result: IDOK 1,
    // IDCANCEL 2, IDNO 7, ..., or -1 when it could not be created. Without an owner, the
    // thread's other windows are disabled while it is open.
    INT_PTR ShowModal(HWND owner);
    // Creates the dialog modeless (CreateDialogParamW), e.g. a form that lives inside another
    // window. Its messages must pass through IsDialogMessageW in the caller's loop.
    HWND Create(HWND parent);

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    bool IsModal() const { return modal_; }
    // Closes the dialog: a modal one returns result from ShowModal, a modeless one is destroyed.
    void End(INT_PTR result);

protected:
    // Return true to let the system put the focus on the first tab stop, false when the handler
    // set the focus itself.
    virtual bool OnInitDialog() { return true; }
    // Return true when the command was handled.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // Returns TRUE for a handled message (with SetMessageResult for messages that carry a
    // result), FALSE to let the dialog manager handle it.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The result of the message being handled (DWLP_MSGRESULT), e.g. for WM_NOTIFY.
    void SetMessageResult(LRESULT result) { SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result); }
    // Called once the window is gone; Handle() is null by then.
    virtual void OnWindowGone() {}

private:
    static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    std::vector<HWND> disabled_;  // what an unowned modal dialog disabled
};

// Moves a control to a position and size in client pixels.
void PlaceItem(HWND dialog, int id, int x, int y, int width, int height);

}  // namespace torvane::win
