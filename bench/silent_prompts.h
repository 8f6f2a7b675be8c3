#pragma once
// Prompts for measurements: the data is prepared so that nothing asks; a message means the
// figures would be wrong, so the program stops with it.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "store/platform.h"

namespace torvane {

class SilentPrompts : public IPrompts {
public:
    void Warning(const std::string& text) override { Fail(text); }
    void Error(const std::string& text) override { Fail(text); }
    void Plain(const std::string& text) override { Fail(text); }
    std::unique_ptr<IPasswordDialog> CreatePasswordDialog() override { return nullptr; }

private:
    static void Fail(const std::string& text) {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        std::exit(1);
    }
};

}  // namespace torvane
