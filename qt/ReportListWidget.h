#pragma once

#include <QTreeWidget>

namespace rizorivu::qt {

// The widget of a report list. Enter on a row is reported as a signal, as a double click is;
// without a row to act on, Enter goes on to the window.
class ReportListWidget final : public QTreeWidget {
    Q_OBJECT

public:
    explicit ReportListWidget(QWidget* parent) : QTreeWidget(parent) {}

Q_SIGNALS:
    void enterPressed(QTreeWidgetItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace rizorivu::qt
