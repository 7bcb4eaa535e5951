#include "platform/DBGrid.h"

#include "platform/Files.h"
#include "platform/FireEvent.h"
#include "platform/Form.h"
#include "platform/KeyCodes.h"
#include "platform/Screen.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace platform {

DBGrid::DBGrid(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    fitRowHeight();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);
    // Tab goes on to the next control, not to the next cell.
    setTabKeyNavigation(false);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        fire(this, HeadClick, col);
    });
    // A click on a row makes it the current one; a click on no row leaves the current one.
    // Leaving a row typed into writes it.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0 && row < RecordCount())
            row_ = row;
        if (EditPending() && row != pendingRow_)
            UpdateRow();
    });
    // Cells change by themselves only when the user types; code fills them with signals blocked.
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* cell) {
        if (!editable_ || cell->row() >= RecordCount())
            return;
        if (EditPending() && cell->row() != pendingRow_)
            UpdateRow();
        pendingRow_ = cell->row();
        pending_.set(columns_[static_cast<std::size_t>(cell->column())].field, cell->text());
    });
}

void DBGrid::setEditable(bool editable)
{
    editable_ = editable;
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                                   | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < RecordCount(); ++r)
        showRow(r);
}

bool DBGrid::UpdateRow()
{
    commitOpenEditor();
    if (!EditPending())
        return true;
    const int row = std::exchange(pendingRow_, -1);
    platform::Row changes = std::exchange(pending_, {});
    if (row >= RecordCount())
        return false;
    bool written = false;
    if (Update) {
        const platform::Row record = records_[static_cast<std::size_t>(row)];
        auto update = Update;
        runHandler([&] { written = update(record, changes); });
    }
    if (written && row < RecordCount()) {
        for (const auto& [field, value] : changes.fields())
            records_[static_cast<std::size_t>(row)].set(field, value);
    }
    if (row < RecordCount())
        showRow(row);
    return written;
}

void DBGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // Cell editors are children of the viewport.
    for (QWidget* editor : viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!editor->isHidden()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
}

// Tab or Shift+Tab in a cell being typed into: its text stays in the cell,
// as when the focus leaves it otherwise, and the focus leaves the grid
// instead of opening the next cell.
void DBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    if (!next && hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    focusNextPrevChild(next);
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

void DBGrid::setFitColumns(bool fit)
{
    fitColumns_ = fit;
    applyColumnWidths();
}

void DBGrid::setWholeColumns(std::vector<int> columns)
{
    wholeColumns_ = std::move(columns);
    applyColumnWidths();
}

void DBGrid::applyColumnWidths()
{
    if (!fitColumns_ && wholeColumns_.empty()) {
        for (int c = 0; c < columnCount(); ++c)
            setColumnWidth(c, twipsToPixels(columns_[static_cast<std::size_t>(c)].width * columnScale_));
        return;
    }
    // Columns kept whole take their room first; the others fit in the rest.
    int room = viewport()->width();
    std::vector<int> shown;
    std::vector<int> needs;
    for (int c = 0; c < columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        if (std::find(wholeColumns_.begin(), wholeColumns_.end(), c) != wholeColumns_.end()) {
            const int width = contentWidth(c);
            setColumnWidth(c, width);
            room -= width;
        } else {
            shown.push_back(c);
            needs.push_back(contentWidth(c));
        }
    }
    if (shown.empty())
        return;
    room = std::max(room, 0);
    std::vector<int> widths = needs;
    const int total = std::accumulate(needs.begin(), needs.end(), 0);
    if (total <= room) {
        // The room to spare goes to the columns by their widths.
        const int spare = room - total;
        int given = 0;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const int more = i + 1 < widths.size() ? static_cast<int>(static_cast<qint64>(spare) * needs[i] / total)
                                                   : spare - given;
            widths[i] += more;
            given += more;
        }
    } else {
        // Columns that fit their share keep their width; the others share the rest.
        std::vector<bool> fixed(needs.size(), false);
        int left = room;
        int open = static_cast<int>(needs.size());
        for (bool changed = true; changed && open > 0;) {
            changed = false;
            const int share = left / open;
            for (std::size_t i = 0; i < needs.size(); ++i) {
                if (!fixed[i] && needs[i] <= share) {
                    fixed[i] = true;
                    left -= needs[i];
                    --open;
                    changed = true;
                }
            }
        }
        int k = 0;
        for (std::size_t i = 0; i < needs.size(); ++i) {
            if (!fixed[i])
                widths[i] = left / open + (k++ < left % open ? 1 : 0);
        }
    }
    // A grid too narrow for them all scrolls.
    for (std::size_t i = 0; i < shown.size(); ++i)
        setColumnWidth(shown[i], std::max(widths[i], horizontalHeader()->minimumSectionSize()));
}


// A row is as high as the font's line and its margins, so capitals keep
// their accents (the layout scales the font of every grid).
void DBGrid::fitRowHeight()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (int r = 0; r < rowCount(); ++r)
        verticalHeader()->resizeSection(r, verticalHeader()->defaultSectionSize());
}

int DBGrid::contentWidth(int col) const
{
    // A cell's text stands within the style's margins and the grid line.
    const QFontMetricsF metrics(font());
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 2;
    int width = horizontalHeader()->sectionSizeHint(col);
    for (int r = 0; r < rowCount(); ++r) {
        if (const QTableWidgetItem* cell = item(r, col))
            width = std::max(width, static_cast<int>(std::ceil(metrics.horizontalAdvance(cell->text()))) + margin);
    }
    return width;
}

void DBGrid::Refresh(const Database& db, const QString& sql, const QVariantList& values)
{
    UpdateRow();
    setRecords(db.select(sql, values));
}

void DBGrid::setRecords(std::vector<platform::Row> records)
{
    UpdateRow();
    records_ = std::move(records);
    {
        const QSignalBlocker quiet(this);
        clearContents();
        setRowCount(RecordCount());
    }
    for (int r = 0; r < RecordCount(); ++r)
        showRow(r);
    if (sizedByContents())
        applyColumnWidths();
    row_ = -1;
    setRow(0);
}

void DBGrid::showRow(int row)
{
    const QSignalBlocker quiet(this);
    const platform::Row& record = records_[static_cast<std::size_t>(row)];
    for (int c = 0; c < columnCount(); ++c) {
        const Column& column = columns_[static_cast<std::size_t>(c)];
        QTableWidgetItem* cell = item(row, c);
        if (!cell) {
            cell = new QTableWidgetItem;
            setItem(row, c, cell);
        }
        cell->setText(display(record.value(column.field), column));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable_ && column.visible)
            flags |= Qt::ItemIsEditable;
        cell->setFlags(flags);
    }
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
    if (column.format.compare(QLatin1String("dd/mm/yyyy"), Qt::CaseInsensitive) == 0)
        return dateText(value);
    if (!column.format.isEmpty() && column.format.count(QLatin1Char('0')) == column.format.size()) {
        bool number = false;
        const double n = value.toString().trimmed().toDouble(&number);
        if (number && std::isfinite(n)) {
            const qint64 whole = std::llround(n);
            return QStringLiteral("%1").arg(whole, static_cast<int>(column.format.size()), 10, QLatin1Char('0'));
        }
    }
    // Fields of fixed width (imported records) show without their padding.
    return unpadded(value.toString());
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !index.isValid())
        return;
    // The press before made the row current already; the cell a double click
    // opened for typing stays the current one.
    if (index.row() != row_)
        setRow(index.row());
    fire(this, DblClick);
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    int keyAscii = keyAsciiOf(*event);
    if (keyAscii != 0 && state() != QAbstractItemView::EditingState) {
        if (!fire(this, KeyPress, keyAscii))
            return;
        if (keyAscii == 0) {
            event->accept();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

// The header takes the grid's font even while the grid is hidden, when Qt
// does not pass it on by itself.
void DBGrid::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        horizontalHeader()->setFont(font());
        fitRowHeight();
        if (sizedByContents())
            applyColumnWidths();
    }
}

// Columns that fill the grid follow the room inside it, which a scroll bar
// coming or going changes too.
bool DBGrid::viewportEvent(QEvent* event)
{
    const bool handled = QTableWidget::viewportEvent(event);
    if (event->type() == QEvent::Resize && sizedByContents())
        applyColumnWidths();
    return handled;
}

void DBGrid::paintEvent(QPaintEvent* event)
{
    QTableWidget::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(viewport());
    QPen pen(palette().color(QPalette::Highlight), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(viewport()->rect()).adjusted(1, 1, -1, -1));
}

// The frame of the focus stays at the edges while the rows scroll under it.
void DBGrid::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    if (hasFocus())
        viewport()->update();
}

void DBGrid::focusInEvent(QFocusEvent* event)
{
    QTableWidget::focusInEvent(event);
    viewport()->update();
}

void DBGrid::focusOutEvent(QFocusEvent* event)
{
    QTableWidget::focusOutEvent(event);
    viewport()->update();
}

} // namespace platform
