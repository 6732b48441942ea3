#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PrivateProfile.h"

namespace rizorivu {

// The language list of the language file and the text lookup of the current language.
// Every visible text is looked up by key with an English default, which is what the user
// sees when the file, the language or the key is missing. The file is consulted on every
// lookup, so an edited file is seen at once; the profile reader keeps an unchanged file
// parsed.
class LocalizedText {
public:
    // Lookups read names, descriptions and texts with buffers of these sizes.
    static constexpr std::size_t kSectionBuffer = 400;
    static constexpr std::size_t kDescriptionBuffer = 1024;
    static constexpr std::size_t kTextBuffer = 4096;

    explicit LocalizedText(PrivateProfile& profile);

    // Reads the language list from `listSection` of `file`; selects language 1 and answers
    // true when at least one language is listed.
    bool load(const std::filesystem::path& file, std::string_view listSection);
    // Makes language `index` (1-based) current; false, changing nothing, when out of range.
    bool select(int index);
    // The text of `key` in the current language, or `defaultText`.
    std::string text(std::string_view key, std::string_view defaultText) const;

    int count() const { return static_cast<int>(sections_.size()); }
    int current() const { return current_; }
    const std::vector<std::string>& descriptions() const { return descriptions_; }
    const std::vector<std::string>& sections() const { return sections_; }
    const std::string& currentSection() const { return currentSection_; }
    const std::filesystem::path& file() const { return file_; }
    const std::string& listSection() const { return listSection_; }

private:
    PrivateProfile& profile_;
    std::filesystem::path file_;
    std::string listSection_;
    std::vector<std::string> sections_;
    std::vector<std::string> descriptions_;
    int current_ = -1;
    std::string currentSection_;
};

}  // namespace rizorivu
