#include "platform/FlexGrid.h"

#include "platform/Characters.h"
#include "platform/Files.h"
#include "platform/FireEvent.h"
#include "platform/KeyCodes.h"
#include "platform/Screen.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Bold is kept as a flag of the cell, so that the cell follows the font the grid is given.
constexpr int kBoldRole = Qt::UserRole + 1;

bool isFixed(const FlexGrid& grid, const QModelIndex& index)
{
    return index.row() < grid.FixedRows() || index.column() < grid.FixedCols();
}

// Paints the cells: grey fixed cells, bold cells, no selection highlight (the cells keep the colours the window
// gives them) and a frame round the current cell.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(FlexGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.row() != grid_->Row() || index.column() != grid_->Col() || isFixed(*grid_, index))
            return;
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1));
        painter->setBrush(Qt::NoBrush);
        const QRect frame = option.rect.adjusted(0, 0, -1, -1);
        painter->drawRect(frame);
        if (grid_->hasFocus())
            painter->drawRect(frame.adjusted(1, 1, -1, -1));
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(kBoldRole).toBool())
            option->font.setBold(true);
        if (isFixed(*grid_, index) && !index.data(Qt::BackgroundRole).isValid())
            option->backgroundBrush = grid_->palette().brush(QPalette::Button);
        // A grid that cannot be used looks so in every cell, its coloured ones too.
        if (!option->state.testFlag(QStyle::State_Enabled)) {
            const QPalette& disabled = grid_->palette();
            option->palette.setBrush(QPalette::Disabled, QPalette::Text,
                                     disabled.brush(QPalette::Disabled, QPalette::Text));
            if (index.data(Qt::BackgroundRole).isValid())
                option->backgroundBrush = disabled.brush(QPalette::Disabled, QPalette::Base);
        }
        option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    }

private:
    FlexGrid* grid_;
};

// The view of the fixed rows laid over the top of the grid. It takes neither the focus nor clicks, and passes the
// mouse wheel on to the grid.
class FixedRowsView : public QTableView {
public:
    FixedRowsView(FlexGrid* grid, QAbstractItemDelegate* delegate) : QTableView(grid), grid_(grid)
    {
        setModel(grid->model());
        setItemDelegate(delegate);
        horizontalHeader()->hide();
        verticalHeader()->hide();
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollMode(grid->horizontalScrollMode());
        setFocusPolicy(Qt::NoFocus);
        setSelectionMode(NoSelection);
        setEditTriggers(NoEditTriggers);
        setTabKeyNavigation(false);
        setAutoScroll(false);
        setWordWrap(grid->wordWrap());
        setTextElideMode(grid->textElideMode());
        setCornerButtonEnabled(false);
        hide();
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void wheelEvent(QWheelEvent* event) override { QCoreApplication::sendEvent(grid_->viewport(), event); }

private:
    FlexGrid* grid_;
};

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(NoEditTriggers);
    setSelectionMode(NoSelection);
    // Tab goes on to the next control, not to the next cell.
    setTabKeyNavigation(false);
    // The grid scrolls by itself, to the current cell, below the fixed rows.
    setAutoScroll(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setCornerButtonEnabled(false);

    auto* delegate = new CellDelegate(this);
    setItemDelegate(delegate);
    fixedRowsView_ = new FixedRowsView(this, delegate);
    connect(horizontalHeader(), &QHeaderView::sectionResized, fixedRowsView_,
            [this](int col, int, int width) { fixedRowsView_->setColumnWidth(col, width); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, fixedRowsView_->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(fixedRowsView_->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { fixedRowsView_->horizontalScrollBar()->setValue(horizontalScrollBar()->value()); });

    fitRowHeight();
    setRowCount(2);
    setColumnCount(2);
    settleCurrentCell();
}

int FlexGrid::Rows() const
{
    return rowCount();
}

void FlexGrid::setRows(int rows)
{
    if (rows < 0 || rows == rowCount())
        return;
    setRowCount(rows);
    settleCurrentCell();
}

int FlexGrid::Cols() const
{
    return columnCount();
}

void FlexGrid::setCols(int cols)
{
    if (cols < 0 || cols == columnCount())
        return;
    setColumnCount(cols);
    for (int c = 0; c < cols; ++c)
        fixedRowsView_->setColumnWidth(c, columnWidth(c));
    settleCurrentCell();
}

void FlexGrid::setFixedRows(int rows)
{
    fixedRows_ = std::max(0, rows);
    // A current cell left inside the fixed rows goes to the first row the user can reach.
    if (row_ >= 0 && row_ < fixedRows_ && fixedRows_ < rowCount())
        row_ = fixedRows_;
    settleCurrentCell();
    fixedRowsView_->viewport()->update();
}

void FlexGrid::setFixedCols(int cols)
{
    fixedCols_ = std::max(0, cols);
    if (col_ >= 0 && col_ < fixedCols_ && fixedCols_ < columnCount())
        col_ = fixedCols_;
    settleCurrentCell();
    fixedRowsView_->viewport()->update();
}

int FlexGrid::Row() const
{
    return row_;
}

void FlexGrid::setRow(int row)
{
    if (row >= 0 && row < rowCount())
        moveTo(row, col_, hasFocus());
}

int FlexGrid::Col() const
{
    return col_;
}

void FlexGrid::setCol(int col)
{
    if (col >= 0 && col < columnCount())
        moveTo(row_, col, hasFocus());
}

QString FlexGrid::Text() const
{
    return TextMatrix(row_, col_);
}

void FlexGrid::setText(const QString& text)
{
    setTextMatrix(row_, col_, text);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    const QTableWidgetItem* c = cell(row, col);
    return c ? c->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    if (QTableWidgetItem* c = cell(row, col))
        c->setText(text);
}

int FlexGrid::scaledPixels(int twips) const
{
    return twipsToPixels(twips * columnScale_);
}

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= columnCount())
        return 0;
    const auto set = colTwips_.constFind(col);
    if (set != colTwips_.constEnd() && scaledPixels(*set) == columnWidth(col))
        return *set;
    return static_cast<int>(std::lround(pixelsToTwips(columnWidth(col)) / columnScale_));
}

void FlexGrid::setColumnScale(double ratio)
{
    if (ratio <= 0 || ratio == columnScale_)
        return;
    columnScale_ = ratio;
    for (auto it = colTwips_.constBegin(); it != colTwips_.constEnd(); ++it) {
        if (it.key() < columnCount())
            setColumnWidth(it.key(), scaledPixels(it.value()));
    }
}

void FlexGrid::setColWidth(int col, int twips)
{
    // Column -1 stands for every column; a negative width puts the default width back.
    const int pixels = twips < 0 ? horizontalHeader()->defaultSectionSize() : scaledPixels(twips);
    const auto setOne = [&](int c) {
        setColumnWidth(c, pixels);
        if (twips < 0)
            colTwips_.remove(c);
        else
            colTwips_.insert(c, twips);
    };
    if (col == -1) {
        for (int c = 0; c < columnCount(); ++c)
            setOne(c);
    } else if (col >= 0 && col < columnCount()) {
        setOne(col);
    }
}

void FlexGrid::setCellAlignment(int alignment)
{
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    if (alignment < 0 || alignment > 2)
        return;
    if (QTableWidgetItem* c = cell(row_, col_))
        c->setTextAlignment(horizontal[alignment] | Qt::AlignVCenter);
}

void FlexGrid::setCellFontBold(bool bold)
{
    if (QTableWidgetItem* c = cell(row_, col_))
        c->setData(kBoldRole, bold);
}

bool FlexGrid::CellFontBold() const
{
    const QTableWidgetItem* c = cell(row_, col_);
    return c && c->data(kBoldRole).toBool();
}

void FlexGrid::setCellBackColor(const QColor& color)
{
    if (QTableWidgetItem* c = cell(row_, col_))
        c->setBackground(color);
}

void FlexGrid::setCellForeColor(const QColor& color)
{
    if (QTableWidgetItem* c = cell(row_, col_))
        c->setForeground(color);
}

void FlexGrid::Clear()
{
    // Text and formatting go together, as in the grids the windows were made with; the cells are made again
    // when next written.
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            if (item(r, c))
                delete takeItem(r, c);
        }
    }
}

FlexGrid::BulkFill::BulkFill(FlexGrid& grid) : grid_(grid), wasBlocked_(grid.model()->blockSignals(true)) {}

FlexGrid::BulkFill::~BulkFill()
{
    QAbstractItemModel* model = grid_.model();
    model->blockSignals(wasBlocked_);
    if (grid_.rowCount() > 0 && grid_.columnCount() > 0)
        emit model->dataChanged(model->index(0, 0), model->index(grid_.rowCount() - 1, grid_.columnCount() - 1));
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    if (navigate(*event)) {
        event->accept();
        return;
    }
    int keyAscii = keyAsciiOf(*event);
    // A character the Windows-1252 code page lacks has no code to give the
    // window: it is not typed (as a "?").
    const bool noCode = keyAscii >= 32 && !fitsCp1252(event->text());
    if (keyAscii == 0 || noCode || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    // A character goes to the window and nowhere else: the window writes the cell itself.
    event->accept();
    fire(this, KeyPress, keyAscii);
}

void FlexGrid::keyReleaseEvent(QKeyEvent* event)
{
    const int keyCode = keyCodeOf(*event);
    if (event->isAutoRepeat() || keyCode == 0) {
        QTableWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    fire(this, KeyUp, keyCode, shiftOf(*event));
}

void FlexGrid::focusInEvent(QFocusEvent* event)
{
    QTableWidget::focusInEvent(event);
    showCurrentCell();
    fire(this, GotFocus);
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    pressedRow_ = pressedCol_ = -1;
    const QModelIndex index = userCellPressed(*event);
    if (!index.isValid())
        return;
    pressedRow_ = index.row();
    pressedCol_ = index.column();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool click = event->button() == Qt::LeftButton && index.isValid() && index.row() == pressedRow_
        && index.column() == pressedCol_;
    pressedRow_ = pressedCol_ = -1;
    if (click)
        fire(this, Click);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    // The release that follows is no click of its own.
    pressedRow_ = pressedCol_ = -1;
    if (userCellPressed(*event).isValid())
        fire(this, DblClick);
}

QModelIndex FlexGrid::userCellPressed(const QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton)
        return {};
    const QModelIndex index = indexAt(event.position().toPoint());
    if (!index.isValid() || !isUserCell(index.row(), index.column()))
        return {};
    QPointer<FlexGrid> alive(this);
    moveTo(index.row(), index.column(), true);
    return alive ? index : QModelIndex();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging selects nothing and leaves the current cell where it is.
    event->accept();
}

void FlexGrid::inputMethodEvent(QInputMethodEvent* event)
{
    // Characters the input method composes (accented letters typed with a dead key) come here instead of as key
    // presses; the window sees them as key presses all the same, one press a character (none for one the code page
    // lacks).
    event->accept();
    const QString committed = event->commitString();
    qsizetype start = 0;
    for (const qsizetype end : characterEnds(committed)) {
        const QString character = committed.mid(start, end - start);
        start = end;
        if (!fitsCp1252(character))
            continue;
        const QByteArray code = toCp1252(character);
        int keyAscii = code.isEmpty() ? 0 : static_cast<unsigned char>(code.at(0));
        if (keyAscii >= 32 && !fire(this, KeyPress, keyAscii))
            return;
    }
}

void FlexGrid::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowHeight();
}

void FlexGrid::updateGeometries()
{
    QTableWidget::updateGeometries();
    placeFixedRows();
}

QTableWidgetItem* FlexGrid::cell(int row, int col)
{
    if (row < 0 || col < 0 || row >= rowCount() || col >= columnCount())
        return nullptr;
    if (!item(row, col))
        setItem(row, col, new QTableWidgetItem);
    return item(row, col);
}

const QTableWidgetItem* FlexGrid::cell(int row, int col) const
{
    if (row < 0 || col < 0 || row >= rowCount() || col >= columnCount())
        return nullptr;
    return item(row, col);
}

bool FlexGrid::isUserCell(int row, int col) const
{
    return row >= fixedRows_ && col >= fixedCols_ && row < rowCount() && col < columnCount();
}

void FlexGrid::moveTo(int row, int col, bool reveal)
{
    if (row == row_ && col == col_)
        return;
    if (!fire(this, LeaveCell))
        return;
    row_ = row;
    col_ = col;
    // The window may have changed the size of the grid while leaving the cell.
    settleCurrentCell();
    if (reveal)
        revealCurrentCell();
    fire(this, EnterCell);
}

void FlexGrid::settleCurrentCell()
{
    const int rows = rowCount();
    const int cols = columnCount();
    row_ = rows == 0 ? -1 : row_ < 0 ? std::min(fixedRows_, rows - 1) : std::min(row_, rows - 1);
    col_ = cols == 0 ? -1 : col_ < 0 ? std::min(fixedCols_, cols - 1) : std::min(col_, cols - 1);
    showCurrentCell();
    placeFixedRows();
}

void FlexGrid::showCurrentCell()
{
    // Qt's own current index follows ours, for the benefit of the input method and accessibility.
    const QModelIndex current = model()->index(row_, col_);
    if (selectionModel()->currentIndex() != current)
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    viewport()->update();
}

void FlexGrid::revealCurrentCell()
{
    if (!isUserCell(row_, col_))
        return;
    scrollTo(model()->index(row_, col_));
    // A row under the fixed rows is hidden all the same: scroll on until it comes out below them.
    QScrollBar* bar = verticalScrollBar();
    while (bar->value() > bar->minimum() && rowViewportPosition(row_) < fixedHeight_)
        bar->setValue(bar->value() - 1);
}

bool FlexGrid::navigate(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int key = event.key();
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        break;
    default:
        return false;
    }
    const int firstRow = fixedRows_;
    const int lastRow = rowCount() - 1;
    const int firstCol = fixedCols_;
    const int lastCol = columnCount() - 1;
    if (firstRow > lastRow || firstCol > lastCol)
        return true;

    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    int row = row_;
    int col = col_;
    switch (key) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_PageUp:
        row -= pageRows();
        break;
    case Qt::Key_PageDown:
        row += pageRows();
        break;
    case Qt::Key_Home:
        col = firstCol;
        if (ctrl)
            row = firstRow;
        break;
    case Qt::Key_End:
        col = lastCol;
        if (ctrl)
            row = lastRow;
        break;
    }
    QPointer<FlexGrid> alive(this);
    moveTo(std::clamp(row, firstRow, lastRow), std::clamp(col, firstCol, lastCol), false);
    if (alive)
        revealCurrentCell();
    return true;
}

int FlexGrid::pageRows() const
{
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    return std::max(1, (viewport()->height() - fixedHeight_) / rowHeight);
}

void FlexGrid::fitRowHeight()
{
    // Room for a line of text and the grid line.
    const int height = fontMetrics().height() + 4;
    for (QHeaderView* header : {verticalHeader(), fixedRowsView_->verticalHeader()}) {
        header->setMinimumSectionSize(std::min(header->minimumSectionSize(), height));
        header->setDefaultSectionSize(height);
    }
    placeFixedRows();
}

void FlexGrid::placeFixedRows()
{
    if (!fixedRowsView_)
        return; // still being built
    int height = 0;
    for (int r = 0; r < std::min(fixedRows_, rowCount()); ++r)
        height += rowHeight(r);
    const QRect area = viewport()->geometry();
    fixedHeight_ = std::min(height, area.height());
    if (fixedHeight_ <= 0) {
        fixedRowsView_->hide();
        return;
    }
    fixedRowsView_->setGeometry(area.x(), area.y(), area.width(), fixedHeight_);
    fixedRowsView_->show();
    fixedRowsView_->raise();
    fixedRowsView_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
}

} // namespace platform
