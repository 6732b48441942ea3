#include "platform/PrivateProfile.h"

#include <cerrno>
#include <cstdint>

#include "platform/FileSnapshot.h"

namespace rizorivu {

namespace {

// Windows strips trailing blanks from the default before copying it.
std::string_view withoutTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string cut(std::string_view text, std::size_t bufferSize) {
    // The buffer holds bufferSize - 1 characters and the terminating NUL.
    return bufferSize == 0 ? std::string() : std::string(utf8Prefix(text, bufferSize - 1));
}

// The number a value reads as: leading blanks and control characters skipped, one optional
// sign, then decimal digits up to the first other character (none: 0). The digits wrap
// around as an unsigned 32-bit number, which a "-" then negates, as Windows computes it.
int decimalValue(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::uint32_t number = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        number = number * 10u + static_cast<std::uint32_t>(text[pos] - '0');
    }
    return static_cast<int>(negative ? 0u - number : number);
}

}  // namespace

PrivateProfile::PrivateProfile(const CodePage& ansi) : ansi_(ansi) {}

std::string PrivateProfile::getString(const std::filesystem::path& file, std::string_view section,
                                      std::string_view key, std::string_view defaultValue,
                                      std::size_t bufferSize) {
    const std::shared_ptr<const IniDocument> doc = document(file);
    if (const std::string* value = doc->find(section, key, folder_)) {
        return cut(*value, bufferSize);
    }
    return cut(withoutTrailingBlanks(defaultValue), bufferSize);
}

int PrivateProfile::getInt(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, int defaultValue) {
    const std::shared_ptr<const IniDocument> doc = document(file);
    const std::string* value = doc->find(section, key, folder_);
    if (value == nullptr || value->empty()) {
        return defaultValue;
    }
    return decimalValue(*value);
}

std::shared_ptr<const IniDocument> PrivateProfile::document(const std::filesystem::path& file) {
    const std::optional<FileIdentity> seen = FileIdentity::of(file);
    {
        std::lock_guard lock(mutex_);
        const auto it = cache_.find(file.native());
        if (it != cache_.end() && it->second.settled && it->second.identity == seen) {
            return it->second.document;
        }
    }
    // Parsing happens outside the lock so that lookups in other files go on meanwhile. Two
    // threads may load the same file at once; either result is a valid state of the file.
    CachedFile loaded = load(file, seen);
    std::shared_ptr<const IniDocument> doc = loaded.document;
    std::lock_guard lock(mutex_);
    cache_.insert_or_assign(file.native(), std::move(loaded));
    return doc;
}

PrivateProfile::CachedFile PrivateProfile::load(const std::filesystem::path& file,
                                                const std::optional<FileIdentity>& seen) const {
    CachedFile loaded;
    loaded.document = std::make_shared<const IniDocument>();
    loaded.settled = true;
    if (!seen) {
        return loaded;
    }
    std::optional<FileSnapshot> snapshot = FileSnapshot::read(file, IniDocument::kMaxBytes);
    if (!snapshot) {
        if (errno != ENOENT) {
            loaded.identity = seen;  // unreadable: empty until its identity changes
        }
        return loaded;
    }
    loaded.identity = snapshot->identity();
    if (snapshot->regular()) {
        loaded.document = std::make_shared<const IniDocument>(
            IniDocument::parse(snapshot->bytes(), ansi_, folder_));
        loaded.settled = snapshot->settled();
    }
    return loaded;
}

}  // namespace rizorivu
