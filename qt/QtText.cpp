#include "qt/QtText.h"

namespace rizorivu::qt {

qsizetype utf16Offset(const QString& text, std::size_t codePoints) {
    qsizetype units = 0;
    for (std::size_t n = 0; n < codePoints && units < text.size(); ++n) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                          text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return units;
}

std::size_t codePointOffset(const QString& text, qsizetype utf16Units) {
    std::size_t codePoints = 0;
    qsizetype units = 0;
    const qsizetype end = std::min(utf16Units, text.size());
    while (units < end) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                          text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
        ++codePoints;
    }
    return codePoints;
}

}  // namespace rizorivu::qt
