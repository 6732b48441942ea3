#include "qt/ReportListBinding.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include "qt/ControlState.h"
#include "qt/QtText.h"
#include "qt/ReportListRow.h"

namespace rizorivu::qt {

namespace {

Qt::Alignment toQt(ui::ReportList::Alignment alignment) {
    switch (alignment) {
        case ui::ReportList::Alignment::Centre:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case ui::ReportList::Alignment::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case ui::ReportList::Alignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

ReportListBinding::ReportListBinding(ui::ReportList& model, QWidget* parent, Handlers handlers,
                                     ColumnWidths columnWidths)
    : model_(model),
      handlers_(std::move(handlers)),
      columnWidths_(columnWidths),
      widget_(new ReportListWidget(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setRootIsDecorated(false);
    widget_->setItemsExpandable(false);
    widget_->setUniformRowHeights(true);
    widget_->setSelectionMode(QAbstractItemView::SingleSelection);
    widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget_->header()->setSectionsMovable(false);
    widget_->header()->setStretchLastSection(false);
    showColumns();
    showStyle();
    applyControlState(*widget_, model_);
    // Signals are blocked while the model repaints, so these come from the user alone.
    QObject::connect(widget_, &QTreeWidget::itemSelectionChanged, widget_, [this] {
        const QList<QTreeWidgetItem*> chosen = widget_->selectedItems();
        takeUserRow(chosen.isEmpty() ? nullptr : chosen.front());
        run(handlers_.onSelectionMoved);
    });
    QObject::connect(widget_, &QTreeWidget::itemClicked, widget_, [this](QTreeWidgetItem* item) {
        takeUserRow(item);
        run(handlers_.onClicked);
    });
    QObject::connect(widget_, &QTreeWidget::itemDoubleClicked, widget_,
                     [this](QTreeWidgetItem* item) {
                         takeUserRow(item);
                         run(handlers_.onDoubleClicked);
                     });
    QObject::connect(widget_, &ReportListWidget::enterPressed, widget_,
                     [this](QTreeWidgetItem* item) {
                         takeUserRow(item);
                         run(handlers_.onEnter);
                     });
}

void ReportListBinding::run(const std::function<void()>& handler) {
    if (handler) {
        handler();
    }
}

void ReportListBinding::takeUserRow(QTreeWidgetItem* item) {
    model_.select(item == nullptr ? -1 : widget_->indexOfTopLevelItem(item));
}

void ReportListBinding::showColumns() {
    const auto& columns = model_.columns();
    {
        const QSignalBlocker blocker(widget_.data());
        widget_->setColumnCount(static_cast<int>(columns.size()));
        QTreeWidgetItem* header = widget_->headerItem();
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            header->setText(c, toQString(columns[c].caption));
            header->setTextAlignment(c, toQt(columns[c].alignment));
            widget_->setColumnWidth(c, columns[c].width);
            const bool stretch = c == 0 && columnWidths_ == ColumnWidths::FillList;
            widget_->header()->setSectionResizeMode(
                c, stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
        }
    }
    // Alignment lives in the cells too.
    showRows();
}

void ReportListBinding::showRows() {
    const auto& columns = model_.columns();
    {
        const QSignalBlocker blocker(widget_.data());
        widget_->clear();
        QList<QTreeWidgetItem*> items;
        for (int r = 0; r < model_.rowCount(); ++r) {
            auto* item = new ReportListRow;
            for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
                item->setText(c, toQString(model_.cell(r, c)));
                item->setTextAlignment(c, toQt(columns[c].alignment));
            }
            items.append(item);
        }
        widget_->addTopLevelItems(items);
    }
    showSelection();
}

void ReportListBinding::showSelection() {
    const QSignalBlocker blocker(widget_.data());
    QTreeWidgetItem* item = widget_->topLevelItem(model_.selected());
    widget_->clearSelection();
    if (item != nullptr) {
        widget_->setCurrentItem(item);
        item->setSelected(true);
        widget_->scrollToItem(item);
    }
}

void ReportListBinding::showStyle() {
    widget_->setSelectionBehavior(model_.fullRowSelect() ? QAbstractItemView::SelectRows
                                                         : QAbstractItemView::SelectItems);
}

void ReportListBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Columns:
            showColumns();
            break;
        case ui::Change::Rows:
            showRows();
            break;
        case ui::Change::Selection:
            showSelection();
            break;
        case ui::Change::Style:
            showStyle();
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
