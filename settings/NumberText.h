#pragma once

#include <string>

namespace rizorivu {

// Numbers as the utility's texts show them: ASCII digits and a '.' decimal point whatever the
// process's locale. The toolkit adopts the user's numeric locale, which would otherwise turn
// "5.5 Mbps" into "5,5 Mbps" under a German or French desktop.
std::string decimalText(long long value, int minDigits = 1);
// Upper-case hexadecimal digits, zero-padded to `minDigits`.
std::string upperHexText(unsigned long long value, int minDigits = 1);
// `decimals` digits after the point, rounded to nearest.
std::string fixedText(double value, int decimals);

}  // namespace rizorivu
