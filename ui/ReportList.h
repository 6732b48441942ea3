#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"

namespace rizorivu::ui {

// A list of rows under captioned columns, with at most one selected row (-1 for none).
// Rows hold one text per column; a missing cell reads as empty.
class ReportList final : public Control {
public:
    enum class Alignment { Left, Centre, Right };

    struct Column {
        std::string caption;
        int width = 0;  // pixels
        Alignment alignment = Alignment::Left;

        friend bool operator==(const Column&, const Column&) = default;
    };

    using Row = std::vector<std::string>;

    const std::vector<Column>& columns() const { return columns_; }
    const std::vector<Row>& rows() const { return rows_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Empty for a cell outside the rows or the row's cells.
    std::string cell(int row, int column) const;
    int selected() const { return selected_; }
    bool fullRowSelect() const { return fullRowSelect_; }

    // Answers the position of the new column.
    int addColumn(Column column);
    // Ignored for a column that does not exist.
    void setColumnCaption(int column, std::string_view caption);
    void removeAllColumns();

    // Answers the position of the new row; the selection stays.
    int addRow(Row cells);
    // Ignored for a row that does not exist; a row grows to reach the column.
    void setCell(int row, int column, std::string_view text);
    // Removes every row; nothing is selected afterwards.
    void removeAllRows();

    // A row outside 0 .. rowCount-1 selects nothing; answers whether a row is selected.
    bool select(int row);
    void setFullRowSelect(bool fullRowSelect);

private:
    bool hasRow(int row) const { return row >= 0 && row < rowCount(); }

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    int selected_ = -1;
    bool fullRowSelect_ = false;
};

}  // namespace rizorivu::ui
