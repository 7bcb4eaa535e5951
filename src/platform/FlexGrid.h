#pragma once

#include <QHash>
#include <QTableWidget>

#include <functional>

namespace platform {

// Flex grid: a grid of text cells with fixed rows at the top (the header) and
// fixed columns at the left, a current cell, and per-cell alignment, bold and
// colours. It has no in-cell editor: the window's own key handlers change the
// current cell's text. Column widths are in twips. Tab and Shift+Tab leave
// the grid for the next or previous control of the window; the arrows move
// the current cell.
class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const { return fixedRows_; }
    void setFixedRows(int rows);
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int cols);

    // The current cell.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    QString Text() const;
    void setText(const QString& text);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    // The proportional layout widens the columns with the window: each shows
    // at its width times `ratio`, while ColWidth still gives the width set.
    void setColumnScale(double ratio);
    double columnScale() const { return columnScale_; }

    // Formatting of the current cell. Alignment: 0 left, 1 centre, 2 right
    // (each vertically centred).
    void setCellAlignment(int alignment);
    void setCellFontBold(bool bold);
    bool CellFontBold() const;
    void setCellBackColor(const QColor& color);
    void setCellForeColor(const QColor& color);

    // Empties every cell, fixed ones included, of its text and formatting;
    // rows and columns stay.
    void Clear();

    // While one lives, the cells written are not redrawn one by one: the grid
    // is redrawn once when it goes. For filling a long listing.
    class BulkFill {
    public:
        explicit BulkFill(FlexGrid& grid);
        ~BulkFill();
        BulkFill(const BulkFill&) = delete;
        BulkFill& operator=(const BulkFill&) = delete;

    private:
        FlexGrid& grid_;
        bool wasBlocked_;
    };

    // Events of the window.
    std::function<void()> GotFocus;
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void(int keyCode, int shift)> KeyUp;
    std::function<void()> EnterCell;
    std::function<void()> LeaveCell;
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void changeEvent(QEvent* event) override;
    void updateGeometries() override;

    QTableWidgetItem* cell(int row, int col);
    const QTableWidgetItem* cell(int row, int col) const;

    // A cell the user may make current: inside the grid and out of the fixed rows and columns.
    bool isUserCell(int row, int col) const;
    // Makes (row, col) the current cell, raising LeaveCell before and EnterCell after; nothing when it already is.
    void moveTo(int row, int col, bool reveal);
    // The cell a left button press lands on, made current; invalid for a fixed cell, another button, or a grid
    // closed by the window's handlers.
    QModelIndex userCellPressed(const QMouseEvent& event);
    // Keeps the current cell inside the grid after a change of size, without raising events.
    void settleCurrentCell();
    void showCurrentCell();
    void revealCurrentCell();
    // Moves the current cell for an arrow, Home, End or a page key; false for any other key.
    bool navigate(const QKeyEvent& event);
    int pageRows() const;
    void fitRowHeight();
    void placeFixedRows();

    int fixedRows_ = 1;
    int fixedCols_ = 0;
    // Widths set in twips, read back as set while the column keeps that width.
    QHash<int, int> colTwips_;
    double columnScale_ = 1.0;
    int scaledPixels(int twips) const;
    int row_ = -1;
    int col_ = -1;
    int pressedRow_ = -1;
    int pressedCol_ = -1;
    // The fixed rows stay at the top while the rest scrolls: a second view of the same cells lies over the top of
    // the viewport, as high as the fixed rows.
    QTableView* fixedRowsView_ = nullptr;
    int fixedHeight_ = 0;
};

} // namespace platform
