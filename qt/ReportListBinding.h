#pragma once

#include <QPointer>
#include <QTreeWidget>
#include <functional>

#include "qt/ModelSubscription.h"
#include "ui/ReportList.h"

namespace rizorivu::qt {

// A report list in a flat QTreeWidget: captioned columns, rows of texts, one selected row.
// The user's selection (mouse or keys) goes into the model; a click then calls `onClicked`
// and a double click `onDoubleClicked`. The model's own changes only repaint.
//
// A cell too long for its column shows its whole text in its tooltip.
class ReportListBinding {
public:
    struct Handlers {
        std::function<void()> onClicked;
        std::function<void()> onDoubleClicked;
    };

    // The columns take the model's widths, or the first one takes whatever width the others
    // leave so that the columns fill the list.
    enum class ColumnWidths { AsModel, FillList };

    ReportListBinding(ui::ReportList& model, QWidget* parent, Handlers handlers,
                      ColumnWidths columnWidths = ColumnWidths::AsModel);
    ReportListBinding(const ReportListBinding&) = delete;
    ReportListBinding& operator=(const ReportListBinding&) = delete;

    QTreeWidget* widget() const { return widget_; }

private:
    void repaint(ui::Change change);
    void showColumns();
    void showRows();
    void showSelection();
    void showStyle();
    void takeUserRow(QTreeWidgetItem* item);

    ui::ReportList& model_;
    Handlers handlers_;
    ColumnWidths columnWidths_;
    QPointer<QTreeWidget> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
