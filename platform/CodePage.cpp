#include "platform/CodePage.h"

#include <iconv.h>
#include <algorithm>
#include <cerrno>
#include <ostream>
#include <utility>

#include "platform/Unicode.h"

namespace rizorivu {

namespace {

const auto kInvalidDescriptor = reinterpret_cast<iconv_t>(-1);

// Windows names code pages by number; iconv knows most of them as "CP<number>".
std::string resolveName(std::string_view requested) {
    const std::string_view name = trimBlanks(requested);
    if (name.empty()) {
        return CodePage::kDefaultName;
    }
    bool digits = true;
    for (const char c : name) {
        digits = digits && c >= '0' && c <= '9';
    }
    if (digits) {
        return name == "65001" ? std::string("UTF-8") : "CP" + std::string(name);
    }
    return std::string(name);
}

// iconv suffixes ("//IGNORE", "//TRANSLIT") change how unmappable characters are handled,
// and the C interface stops at a NUL, so such names are treated as unknown.
bool acceptableName(std::string_view name) {
    return !name.empty() && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// Length of the well-formed UTF-8 sequence at the start of `text`, or 1 when it is
// malformed or truncated, so that skipping it always makes progress.
std::size_t utf8SequenceLength(const char* text, std::size_t size) {
    return std::max<std::size_t>(1, utf8Prefix(std::string_view(text, size), 1).size());
}

void ensureRoom(std::string& out, std::size_t used, std::size_t room) {
    if (out.size() - used < room) {
        out.resize(out.size() * 2 + room);
    }
}

// Runs `in` through `cd`; `replace(out, used)` writes the stand-in for each character that
// cannot be converted and returns the new output length.
template <typename Replace>
std::string convert(iconv_t cd, std::string_view in, bool inputIsUtf8, Replace replace) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
    std::string out(in.size() + in.size() / 2 + 16, '\0');
    std::size_t used = 0;
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    for (;;) {
        ensureRoom(out, used, 16);
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const bool flushing = inLeft == 0;
        // The flush call writes whatever a stateful encoding needs to return to its
        // initial state.
        const std::size_t result = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                            : iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        used = static_cast<std::size_t>(outPtr - out.data());
        if (result != static_cast<std::size_t>(-1)) {
            if (flushing) {
                break;
            }
            continue;
        }
        if (error == E2BIG) {
            out.resize(out.size() * 2 + 16);
            continue;
        }
        if (flushing) {
            break;  // nothing left to convert; do not retry a failing flush forever
        }
        // EILSEQ (unconvertible or malformed) or EINVAL (truncated at the end): skip one
        // character, or one byte when it is not a character, and go on.
        const std::size_t skip = inputIsUtf8 ? utf8SequenceLength(inPtr, inLeft) : 1;
        inPtr += skip;
        inLeft -= skip;
        ensureRoom(out, used, 16);
        used = replace(out, used);
    }
    out.resize(used);
    return out;
}

}  // namespace

CodePage::CodePage(std::string_view name, std::ostream* diagnostics) {
    const std::string resolved = resolveName(name);
    iconv_t to = kInvalidDescriptor;
    iconv_t from = kInvalidDescriptor;
    if (acceptableName(resolved)) {
        to = iconv_open(resolved.c_str(), "UTF-8");
        from = iconv_open("UTF-8", resolved.c_str());
    }
    if (to != kInvalidDescriptor && from != kInvalidDescriptor) {
        name_ = resolved;
    } else {
        if (to != kInvalidDescriptor) {
            iconv_close(to);
        }
        if (from != kInvalidDescriptor) {
            iconv_close(from);
        }
        if (diagnostics != nullptr) {
            *diagnostics << "rizorivu: unknown ANSI code page \"" << name << "\"; using "
                         << kDefaultName << '\n';
        }
        name_ = kDefaultName;
        to = iconv_open(kDefaultName, "UTF-8");
        from = iconv_open("UTF-8", kDefaultName);
    }
    // Without a usable descriptor the conversions below fall back to plain ASCII.
    toAnsi_ = to == kInvalidDescriptor ? nullptr : to;
    fromAnsi_ = from == kInvalidDescriptor ? nullptr : from;
}

CodePage CodePage::fromEnvironment(const Environment& env, std::ostream* diagnostics) {
    const std::optional<std::string> value = env.get(kEnvironmentVariable);
    return CodePage(value.value_or(std::string()), diagnostics);
}

CodePage::~CodePage() {
    if (toAnsi_ != nullptr) {
        iconv_close(static_cast<iconv_t>(toAnsi_));
    }
    if (fromAnsi_ != nullptr) {
        iconv_close(static_cast<iconv_t>(fromAnsi_));
    }
}

CodePage::CodePage(CodePage&& other) noexcept
    : name_(std::move(other.name_)),
      toAnsi_(std::exchange(other.toAnsi_, nullptr)),
      fromAnsi_(std::exchange(other.fromAnsi_, nullptr)) {}

std::string CodePage::toAnsi(std::string_view utf8) const {
    std::lock_guard lock(mutex_);
    if (toAnsi_ == nullptr) {
        std::string out;
        for (std::size_t pos = 0; pos < utf8.size();) {
            const auto byte = static_cast<unsigned char>(utf8[pos]);
            out += byte < 0x80 ? static_cast<char>(byte) : '?';
            pos += byte < 0x80 ? 1 : utf8SequenceLength(utf8.data() + pos, utf8.size() - pos);
        }
        return out;
    }
    const auto cd = static_cast<iconv_t>(toAnsi_);
    // The replacement goes through the converter too, so that a stateful code page gets
    // the shift sequence it needs before the "?".
    return convert(cd, utf8, true, [cd](std::string& out, std::size_t used) {
        char question = '?';
        char* inPtr = &question;
        std::size_t inLeft = 1;
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            out[used] = '?';
            return used + 1;
        }
        return static_cast<std::size_t>(outPtr - out.data());
    });
}

std::string CodePage::fromAnsi(std::string_view bytes) const {
    std::lock_guard lock(mutex_);
    if (fromAnsi_ == nullptr) {
        std::string out(bytes);
        for (char& c : out) {
            c = static_cast<unsigned char>(c) < 0x80 ? c : '?';
        }
        return out;
    }
    return convert(static_cast<iconv_t>(fromAnsi_), bytes, false,
                   [](std::string& out, std::size_t used) {
                       out[used] = '?';
                       return used + 1;
                   });
}

}  // namespace rizorivu
