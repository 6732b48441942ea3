#pragma once

#include <QMessageBox>

#include "ui/MessageBox.h"

namespace rizorivu::qt {

// The window of a message box a dialog asks for. Enter presses the default button (OK, or Yes
// on a question). A box with only OK is left by Escape or its close box as by OK; a Yes/No
// question offers no way out, so Escape and its close box do nothing there.
class MessageBoxWindow final : public QMessageBox {
    Q_OBJECT

public:
    MessageBoxWindow(const ui::MessageBox& box, QWidget* parent);

    // The answer for a finished run of exec(); a question closed without a choice (by the
    // program, never by the user) counts as No.
    ui::MessageAnswer answer(int execResult) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool question_;
};

}  // namespace rizorivu::qt
