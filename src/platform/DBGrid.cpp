#include "platform/DBGrid.h"

#include "platform/FireEvent.h"
#include "platform/Screen.h"

#include <QHeaderView>
#include <QMouseEvent>

#include <cmath>

namespace platform {

DBGrid::DBGrid(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        fire(this, HeadClick, col);
    });
    // A click on a row makes it the current one; a click on no row leaves the current one.
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
        const Column& column = columns_[static_cast<std::size_t>(c)];
        setHorizontalHeaderItem(c, new QTableWidgetItem(column.caption));
        setColumnHidden(c, !column.visible);
    }
    applyColumnWidths();
    setRecords(std::move(records_));
}

void DBGrid::setColumnScale(double ratio)
{
    if (ratio <= 0 || ratio == columnScale_)
        return;
    columnScale_ = ratio;
    applyColumnWidths();
}

void DBGrid::applyColumnWidths()
{
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, twipsToPixels(columns_[static_cast<std::size_t>(c)].width * columnScale_));
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
        const platform::Row& record = records_[static_cast<std::size_t>(r)];
        for (int c = 0; c < columnCount(); ++c) {
            const Column& column = columns_[static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(display(record.value(column.field), column));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    }
    row_ = -1;
    setRow(0);
}

void DBGrid::setRow(int row)
{
    if (row < 0 || row >= RecordCount()) {
        if (RecordCount() == 0) {
            row_ = -1;
            clearSelection();
        }
        return;
    }
    row_ = row;
    int col = 0;
    while (col < columnCount() - 1 && isColumnHidden(col))
        ++col;
    const QSignalBlocker quiet(this);
    setCurrentCell(row, col);
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

QString DBGrid::display(const QVariant& value, const Column& column) const
{
    if (value.isNull())
        return {};
    if (!column.format.isEmpty() && column.format.count(QLatin1Char('0')) == column.format.size()) {
        bool number = false;
        const double n = value.toString().trimmed().toDouble(&number);
        if (number && std::isfinite(n)) {
            const qint64 whole = std::llround(n);
            return QStringLiteral("%1").arg(whole, static_cast<int>(column.format.size()), 10, QLatin1Char('0'));
        }
    }
    return value.toString();
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !index.isValid())
        return;
    setRow(index.row());
    fire(this, DblClick);
}

} // namespace platform
