#pragma once

#include <QPointer>
#include <QTreeWidget>

#include <functional>
#include "qt/ReportListWidget.h"

#include "qt/ModelSubscription.h"
#include "ui/ReportList.h"

namespace rizorivu::qt {

// A report list in a flat QTreeWidget: captioned columns, rows of texts, one selected row.
// The user's selection (mouse or keys) goes into the model and calls `onSelectionMoved`; a
// click then calls `onClicked`, a double click `onDoubleClicked` and Enter on a row `onEnter`
// (the row taken as selected first). The model's own changes only repaint.
//
// A cell too long for its column shows its whole text in its tooltip.
class ReportListBinding {
public:
    struct Handlers {
        std::function<void()> onClicked;
        std::function<void()> onDoubleClicked;
        std::function<void()> onSelectionMoved = nullptr;
        std::function<void()> onEnter = nullptr;
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
    static void run(const std::function<void()>& handler);

    ui::ReportList& model_;
    Handlers handlers_;
    ColumnWidths columnWidths_;
    QPointer<ReportListWidget> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
