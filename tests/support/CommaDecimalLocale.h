#pragma once

#include <locale>
#include <string>

namespace rizorivu::testing {

// While it lives, the process's C and C++ locales are a German (or else French) one, whose
// decimal point is a comma, as on such a desktop. tools/install-deps.sh generates both.
class CommaDecimalLocale {
public:
    CommaDecimalLocale();
    // Puts back the locale that was in effect before.
    ~CommaDecimalLocale();
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    // False when neither locale is installed on this machine.
    bool active() const { return !name_.empty(); }
    const std::string& name() const { return name_; }

private:
    std::locale previous_;
    std::string name_;
};

}  // namespace rizorivu::testing
