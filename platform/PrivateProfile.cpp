#include "platform/PrivateProfile.h"

#include <cerrno>
#include <cstdint>
#include <functional>

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
    if (const std::optional<std::string_view> value = doc->find(section, key, folder_)) {
        return cut(*value, bufferSize);
    }
    return cut(withoutTrailingBlanks(defaultValue), bufferSize);
}

int PrivateProfile::getInt(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, int defaultValue) {
    const std::shared_ptr<const IniDocument> doc = document(file);
    const std::optional<std::string_view> value = doc->find(section, key, folder_);
    if (!value || value->empty()) {
        return defaultValue;
    }
    return decimalValue(*value);
}

std::shared_ptr<const IniDocument> PrivateProfile::document(const std::filesystem::path& file) {
    const std::optional<FileIdentity> seen = FileIdentity::of(file);
    std::shared_ptr<CachedFile> cached;
    {
        std::lock_guard lock(mutex_);
        std::shared_ptr<CachedFile>& entry = cache_[file.native()];
        if (!entry) {
            entry = std::make_shared<CachedFile>();
        }
        if (entry->document && entry->settled && entry->identity == seen) {
            return entry->document;
        }
        cached = entry;
    }
    // Reading and parsing happen outside the profile's lock so that lookups in other files
    // go on meanwhile; lookups in this file wait and then find the fresh document.
    std::lock_guard loading(cached->loading);
    {
        std::lock_guard lock(mutex_);
        if (cached->document && cached->settled && cached->identity == seen) {
            return cached->document;
        }
    }
    load(*cached, file, seen);
    std::lock_guard lock(mutex_);
    return cached->document;
}

void PrivateProfile::load(CachedFile& cached, const std::filesystem::path& file,
                          const std::optional<FileIdentity>& seen) {
    const auto store = [&](std::optional<FileIdentity> identity, std::size_t hash,
                           std::shared_ptr<const IniDocument> document, bool settled) {
        std::lock_guard lock(mutex_);
        cached.identity = identity;
        cached.bytesHash = hash;
        cached.document = std::move(document);
        cached.settled = settled;
    };
    const auto empty = [] { return std::make_shared<const IniDocument>(); };
    if (!seen) {
        store(std::nullopt, 0, empty(), true);
        return;
    }
    std::optional<FileSnapshot> snapshot = FileSnapshot::read(file, IniDocument::kMaxBytes);
    if (!snapshot) {
        // Unreadable: empty until its identity changes.
        store(errno != ENOENT ? seen : std::nullopt, 0, empty(), true);
        return;
    }
    if (!snapshot->regular()) {
        store(snapshot->identity(), 0, empty(), true);
        return;
    }
    const std::size_t hash = std::hash<std::string_view>{}(snapshot->bytes());
    std::shared_ptr<const IniDocument> kept;
    {
        std::lock_guard lock(mutex_);
        if (cached.document && cached.identity == snapshot->identity() &&
            cached.bytesHash == hash) {
            kept = cached.document;  // the same bytes again: nothing to parse
        } else {
            cached.document.reset();  // let the old document go before the new one exists
        }
    }
    if (!kept) {
        kept = std::make_shared<const IniDocument>(
            IniDocument::parseOwned(snapshot->takeBytes(), ansi_, folder_));
    }
    store(snapshot->identity(), hash, std::move(kept), snapshot->settled());
}

}  // namespace rizorivu
