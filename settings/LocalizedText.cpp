#include "settings/LocalizedText.h"

namespace rizorivu {

LocalizedText::LocalizedText(PrivateProfile& profile) : profile_(profile) {}

bool LocalizedText::load(const std::filesystem::path& file, std::string_view listSection) {
    file_ = file;
    listSection_ = std::string(listSection);
    sections_.clear();
    descriptions_.clear();
    current_ = -1;
    currentSection_.clear();
    for (int i = 1;; ++i) {
        std::string section = profile_.getString(
            file_, listSection_, "Language_" + std::to_string(i) + "_Section", "", kSectionBuffer);
        if (section.empty()) {
            break;
        }
        sections_.push_back(std::move(section));
    }
    if (sections_.empty()) {
        return false;
    }
    select(1);
    return true;
}

bool LocalizedText::select(int index) {
    if (index < 1 || index > count()) {
        return false;
    }
    current_ = index;
    currentSection_ = sections_[static_cast<std::size_t>(index - 1)];
    descriptions_.clear();
    for (int i = 1; i <= count(); ++i) {
        descriptions_.push_back(profile_.getString(
            file_, currentSection_, "Language_" + std::to_string(i) + "_Description",
            sections_[static_cast<std::size_t>(i - 1)], kDescriptionBuffer));
    }
    return true;
}

std::string LocalizedText::text(std::string_view key, std::string_view defaultText) const {
    if (count() < 1) {
        return std::string(defaultText);
    }
    return profile_.getString(file_, currentSection_, key, defaultText, kTextBuffer);
}

}  // namespace rizorivu
