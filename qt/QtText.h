#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace rizorivu::qt {

// Models keep UTF-8; Qt keeps UTF-16.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

// A position counted in code points, as the models count, turned into UTF-16 units of `text`
// and back; positions past the end stop at the end.
qsizetype utf16Offset(const QString& text, std::size_t codePoints);
std::size_t codePointOffset(const QString& text, qsizetype utf16Units);

}  // namespace rizorivu::qt
