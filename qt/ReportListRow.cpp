#include "qt/ReportListRow.h"

#include <QFontMetrics>
#include <QStyle>
#include <QTreeWidget>

namespace rizorivu::qt {

QVariant ReportListRow::data(int column, int role) const {
    if (role != Qt::ToolTipRole || treeWidget() == nullptr) {
        return QTreeWidgetItem::data(column, role);
    }
    const QTreeWidget& list = *treeWidget();
    // A cell's text keeps a focus-frame margin and one pixel on each side.
    const int margin =
        2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
    const QString whole = text(column);
    const bool cut =
        QFontMetrics(list.font()).horizontalAdvance(whole) + margin > list.columnWidth(column);
    return cut ? QVariant(whole) : QVariant();
}

}  // namespace rizorivu::qt
