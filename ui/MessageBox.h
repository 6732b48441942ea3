#pragma once

#include <string>

namespace rizorivu::ui {

enum class MessageButtons { Ok, YesNo };

enum class MessageIcon { None, Information, Question, Exclamation, Error };

enum class MessageAnswer { Ok, Yes, No };

// A message box as a dialog asks for it: the host shows it modally over the dialog.
struct MessageBox {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Whether `answer` is one of the buttons a box of `buttons` offers.
constexpr bool offers(MessageButtons buttons, MessageAnswer answer) {
    return buttons == MessageButtons::Ok
               ? answer == MessageAnswer::Ok
               : answer == MessageAnswer::Yes || answer == MessageAnswer::No;
}

}  // namespace rizorivu::ui
