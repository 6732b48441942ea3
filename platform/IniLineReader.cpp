#include "platform/IniLineReader.h"

#include "platform/Unicode.h"

namespace rizorivu {

namespace {

bool hasPrefix(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

IniLineReader::IniLineReader(std::string_view bytes, const CodePage& ansi)
    : owned_(decode(bytes, ansi)), text_(owned_) {}

IniLineReader IniLineReader::overDecoded(std::string_view utf8) {
    return IniLineReader(utf8);
}

std::string IniLineReader::decode(std::string_view bytes, const CodePage& ansi) {
    // Decoders reserve room for growth, which a document holding the text would keep for
    // its whole life.
    std::string text = decodeText(bytes, ansi);
    text.shrink_to_fit();
    return text;
}

std::string IniLineReader::decodeText(std::string_view bytes, const CodePage& ansi) {
    bytes = bytes.substr(0, kMaxBytes);
    if (hasPrefix(bytes, "\xFF\xFE")) {
        const std::string_view body = bytes.substr(2);
        std::u16string units(body.size() / 2, u'\0');  // an odd last byte is dropped
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i] = static_cast<char16_t>(static_cast<unsigned char>(body[2 * i]) |
                                             static_cast<unsigned char>(body[2 * i + 1]) << 8);
        }
        return utf16ToUtf8(units);
    }
    if (hasPrefix(bytes, "\xEF\xBB\xBF")) {
        // The round trip turns malformed bytes into U+FFFD.
        return utf16ToUtf8(utf8ToUtf16(bytes.substr(3)));
    }
    return ansi.fromAnsi(bytes);
}

std::optional<std::string_view> IniLineReader::next() {
    const std::size_t size = text_.size();
    if (pos_ >= size) {
        return std::nullopt;
    }
    std::size_t end = pos_;
    while (end < size && text_[end] != '\r' && text_[end] != '\n') {
        ++end;
    }
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end + (end + 1 < size && text_[end] == '\r' && text_[end + 1] == '\n' ? 2 : 1);
    ++lineNumber_;
    return line.substr(0, line.find('\0'));
}

}  // namespace rizorivu
