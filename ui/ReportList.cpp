#include "ui/ReportList.h"

namespace rizorivu::ui {

std::string ReportList::cell(int row, int column) const {
    if (!hasRow(row) || column < 0 || column >= static_cast<int>(rows_[row].size())) {
        return {};
    }
    return rows_[row][column];
}

int ReportList::addColumn(Column column) {
    columns_.push_back(std::move(column));
    notify(Change::Columns);
    return static_cast<int>(columns_.size()) - 1;
}

void ReportList::setColumnCaption(int column, std::string_view caption) {
    if (column < 0 || column >= static_cast<int>(columns_.size()) ||
        columns_[column].caption == caption) {
        return;
    }
    columns_[column].caption = caption;
    notify(Change::Columns);
}

void ReportList::removeAllColumns() {
    if (columns_.empty()) {
        return;
    }
    columns_.clear();
    notify(Change::Columns);
}

int ReportList::addRow(Row cells) {
    rows_.push_back(std::move(cells));
    notify(Change::Rows);
    return rowCount() - 1;
}

void ReportList::setCell(int row, int column, std::string_view text) {
    if (!hasRow(row) || column < 0) {
        return;
    }
    Row& cells = rows_[row];
    if (column < static_cast<int>(cells.size()) && cells[column] == text) {
        return;
    }
    if (column >= static_cast<int>(cells.size())) {
        cells.resize(static_cast<std::size_t>(column) + 1);
    }
    cells[column] = text;
    notify(Change::Rows);
}

void ReportList::removeAllRows() {
    // Deselect first, so that no observer sees an index into rows that are gone.
    const bool hadSelection = selected_ >= 0;
    selected_ = -1;
    if (!rows_.empty()) {
        rows_.clear();
        notify(Change::Rows);
    }
    if (hadSelection) {
        notify(Change::Selection);
    }
}

bool ReportList::select(int row) {
    const int chosen = hasRow(row) ? row : -1;
    if (selected_ != chosen) {
        selected_ = chosen;
        notify(Change::Selection);
    }
    return chosen >= 0;
}

void ReportList::setFullRowSelect(bool fullRowSelect) {
    if (fullRowSelect_ == fullRowSelect) {
        return;
    }
    fullRowSelect_ = fullRowSelect;
    notify(Change::Style);
}

}  // namespace rizorivu::ui
