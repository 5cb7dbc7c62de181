// A locale whose decimal mark is a comma (German), built for a test in a folder of its own and in
// force for every category while the object lives, as the application object sets the user's
// locale. For the checks that numbers keep their point in every language; header-only, so that
// both the core tests and the Qt tests take it.
#pragma once

#include <clocale>
#include <cstdlib>
#include <string>

class CommaDecimalLocale {
public:
    explicit CommaDecimalLocale(const std::string& folder)
        : before_(std::setlocale(LC_ALL, nullptr)) {
        const std::string build = "localedef -i de_DE -f UTF-8 " + folder + "/de >/dev/null 2>&1";
        built_ = std::system(build.c_str()) == 0;
        if (!built_) return;
        setenv("LOCPATH", folder.c_str(), 1);
        active_ = std::setlocale(LC_ALL, "de") != nullptr;
    }
    ~CommaDecimalLocale() {
        std::setlocale(LC_ALL, before_.c_str());
        unsetenv("LOCPATH");
    }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;
    // False when localedef could not build the locale here; the test is then skipped.
    bool built() const { return built_; }
    bool active() const { return active_; }

private:
    std::string before_;
    bool built_ = false, active_ = false;
};
