// A German locale, whose decimal mark is a comma, built in a folder of the test's and in force for
// every category while the object lives, as the application sets the user's locale.
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
    bool built() const { return built_; }  // false when localedef cannot build it here
    bool active() const { return active_; }

private:
    std::string before_;
    bool built_ = false, active_ = false;
};
