#include "catalogue/Provisional.h"

#include "platform/Screen.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QMouseEvent>

namespace platform {

DBGrid::DBGrid(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        if (HeadClick) {
            auto h = HeadClick;
            h(col);
        }
    });
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0 && row < RecordCount())
            row_ = row;
    });
}

void DBGrid::setColumns(std::vector<Column> columns)
{
    columns_ = std::move(columns);
    setColumnCount(static_cast<int>(columns_.size()));
    for (int c = 0; c < columnCount(); ++c) {
        setHorizontalHeaderItem(c, new QTableWidgetItem(columns_[c].caption));
        setColumnWidth(c, twipsToPixels(columns_[c].width));
        setColumnHidden(c, !columns_[c].visible);
    }
}

void DBGrid::Refresh(const Database& db, const QString& sql, const QVariantList& values)
{
    setRecords(db.select(sql, values));
}

void DBGrid::setRecords(std::vector<platform::Row> records)
{
    records_ = std::move(records);
    const QSignalBlocker quiet(this);
    clearContents();
    setRowCount(RecordCount());
    for (int r = 0; r < RecordCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            auto* item = new QTableWidgetItem(records_[r].text(columns_[c].field));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    }
    row_ = -1;
    setRow(0);
}

void DBGrid::setRow(int row)
{
    if (row < 0 || row >= RecordCount())
        return;
    row_ = row;
    const QSignalBlocker quiet(this);
    setCurrentCell(row, 0);
    selectRow(row);
}

void DBGrid::ClearRow()
{
    row_ = -1;
    const QSignalBlocker quiet(this);
    setCurrentIndex(QModelIndex());
    clearSelection();
}

QString DBGrid::Text(int col) const
{
    if (row_ < 0 || col < 0 || col >= columnCount())
        return {};
    const QTableWidgetItem* cell = item(row_, col);
    return cell ? cell->text() : QString();
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !index.isValid())
        return;
    setRow(index.row());
    if (DblClick) {
        auto h = DblClick;
        h();
    }
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (leaving_ || event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    leaving_ = true;
    bool cancel = false;
    if (Validate)
        Validate(cancel);
    if (cancel)
        setFocus();
    else if (LostFocus)
        LostFocus();
    leaving_ = false;
}

} // namespace platform
