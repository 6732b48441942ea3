#include "ui/ap/ChoiceTexts.h"

#include "settings/LocalizedText.h"
#include "settings/NumberText.h"

namespace rizorivu::ui {

std::vector<std::string> numberedTexts(const LocalizedText& texts, std::string_view prefix,
                                       int first, int limit) {
    std::vector<std::string> items;
    for (int n = first; static_cast<int>(items.size()) < limit; ++n) {
        std::string item = texts.text(std::string(prefix) + decimalText(n), "");
        if (item.empty()) {
            break;
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::string withNumber(std::string_view format, int value) {
    std::string out;
    bool substituted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 'd' && !substituted) {
                out += decimalText(value);
                substituted = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

}  // namespace rizorivu::ui
