#include "qt/MessageBoxWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "qt/QtText.h"

namespace rizorivu::qt {

namespace {

QMessageBox::Icon toQt(ui::MessageIcon icon) {
    switch (icon) {
        case ui::MessageIcon::Information:
            return QMessageBox::Information;
        case ui::MessageIcon::Question:
            return QMessageBox::Question;
        case ui::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case ui::MessageIcon::Error:
            return QMessageBox::Critical;
        case ui::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(const ui::MessageBox& box, QWidget* parent)
    : QMessageBox(toQt(box.icon), toQString(box.caption), toQString(box.text),
                  box.buttons == ui::MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                           : QMessageBox::Ok,
                  parent),
      question_(box.buttons == ui::MessageButtons::YesNo) {
    setTextFormat(Qt::PlainText);
    setDefaultButton(question_ ? QMessageBox::Yes : QMessageBox::Ok);
    if (!question_) {
        setEscapeButton(QMessageBox::Ok);
    }
}

ui::MessageAnswer MessageBoxWindow::answer(int execResult) const {
    if (!question_) {
        return ui::MessageAnswer::Ok;
    }
    return execResult == QMessageBox::Yes ? ui::MessageAnswer::Yes : ui::MessageAnswer::No;
}

void MessageBoxWindow::keyPressEvent(QKeyEvent* event) {
    // The toolkit would take No for the way out of a question.
    if (question_ && event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

void MessageBoxWindow::closeEvent(QCloseEvent* event) {
    if (question_) {
        event->ignore();
        return;
    }
    QMessageBox::closeEvent(event);
}

}  // namespace rizorivu::qt
