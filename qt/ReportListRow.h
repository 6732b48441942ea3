#pragma once

#include <QTreeWidgetItem>

namespace rizorivu::qt {

// One row of a report list. A cell too long for its column answers its whole text as its
// tooltip, worked out when asked, so that it follows every change of the column widths.
class ReportListRow final : public QTreeWidgetItem {
public:
    QVariant data(int column, int role) const override;
};

}  // namespace rizorivu::qt
