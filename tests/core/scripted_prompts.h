#pragma once
// Prompts for tests: the password dialog answers from a script, and everything shown is
// recorded in order.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/platform.h"

namespace torvane {

class ScriptedPrompts : public IPrompts {
public:
    enum class Kind { Warning, Error, Plain, Dialog };
    struct Shown {
        Kind kind;
        std::string text;  // the message, or the dialog's caption
    };

    // The next answer of the password dialog: a text for OK, nothing for Cancel. When the
    // script runs out the dialog is cancelled.
    void Answer(std::optional<std::string> text) { answers_.push_back(std::move(text)); }
    void AnswerOk(const std::string& text) { Answer(text); }
    void AnswerCancel() { Answer(std::nullopt); }

    void Warning(const std::string& text) override { shown.push_back({Kind::Warning, text}); }
    void Error(const std::string& text) override { shown.push_back({Kind::Error, text}); }
    void Plain(const std::string& text) override { shown.push_back({Kind::Plain, text}); }
    std::unique_ptr<IPasswordDialog> CreatePasswordDialog() override {
        ++dialogsCreated;
        return std::make_unique<Dialog>(*this);
    }

    int Count(Kind kind) const {
        int n = 0;
        for (const Shown& s : shown) n += s.kind == kind;
        return n;
    }
    bool ShownNothing() const { return shown.empty(); }
    size_t AnswersLeft() const { return answers_.size(); }

    std::vector<Shown> shown;
    int dialogsCreated = 0;

private:
    class Dialog : public IPasswordDialog {
    public:
        explicit Dialog(ScriptedPrompts& owner) : owner_(owner) {}
        bool Show(const std::string& caption, std::string& text) override {
            owner_.shown.push_back({Kind::Dialog, caption});
            std::optional<std::string> answer;
            if (!owner_.answers_.empty()) {
                answer = std::move(owner_.answers_.front());
                owner_.answers_.pop_front();
            }
            text = answer.value_or(std::string());
            return answer.has_value();
        }

    private:
        ScriptedPrompts& owner_;
    };

    std::deque<std::optional<std::string>> answers_;
};

}  // namespace torvane
