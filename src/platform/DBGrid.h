#pragma once

#include "platform/Database.h"

#include <QTableWidget>

#include <functional>
#include <vector>

namespace platform {

// Data-bound grid: a view of the rows of a query, read-only unless made
// editable. Each column shows one field of the rows, with its caption, width
// in twips and an optional format: zeros ("00000") for a number shown with
// leading zeros, "dd/mm/yyyy" for a date. By custom the first column is "Id",
// bound to the table's key and hidden: the window identifies the record of the
// current row by it.
//
// After every re-read the first row is the current one, so a window's Editar
// and Borrar act on it without a click; no row is current when the grid is
// empty, or after ClearRow until the user picks one. The grid never sorts by
// itself: a window re-reads it in another order from its HeadClick. A window
// that shows the "Id" column (visible) gets its header clicks too.
//
// Tab and Shift+Tab leave the grid for the next or previous control of the
// window, the current row as it was, from a cell being typed into too; the
// arrows move the current row. While the grid has the focus a frame in the
// highlight colour runs round it.
class DBGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString caption;
        QString field;
        int width = 1000; // twips
        bool visible = true;
        QString format;   // "00000": a whole number with leading zeros; "dd/mm/yyyy": a date
    };

    explicit DBGrid(QWidget* parent = nullptr);

    void setColumns(std::vector<Column> columns);
    const std::vector<Column>& columns() const { return columns_; }
    // The proportional layout widens the columns with the window: each shows
    // at its width times `ratio`, while columns() keeps the widths set.
    void setColumnScale(double ratio);
    // Columns sized to their contents instead, within the grid's width: what
    // fits shows whole and the room left is shared out; when not all fits, a
    // column whose contents fit its share of the room keeps its width and the
    // widest ones share what is left.
    void setFitColumns(bool fit);
    // Or these columns (indices, hidden ones counted) show their caption and
    // every value whole however narrow the grid, and the other visible
    // columns are sized as above within the rest of its width. Either way the
    // columns are sized again at every re-read, resize and font change.
    void setWholeColumns(std::vector<int> columns);

    // Re-reads the grid from a query, its values bound to the query's '?'.
    // An edit pending in the grid is written first.
    void Refresh(const Database& db, const QString& sql, const QVariantList& values = {});
    // Shows these rows, as a re-read does.
    void setRecords(std::vector<platform::Row> records);
    const std::vector<platform::Row>& records() const { return records_; }
    int RecordCount() const { return static_cast<int>(records_.size()); }

    // The current row (from 0), -1 when the grid is empty.
    int Row() const { return row_; }
    void setRow(int row);
    // Leaves no row current until the user picks one, as a walk of the rows
    // to their end leaves the record set (the catalogue windows count so).
    void ClearRow();
    // The value of a column in the current row; empty text when no row is current.
    QString Text(int col) const;
    // The value of the first column ("Id") in the current row.
    QString Id() const { return Text(0); }

    // Events of the window: a click on a column header (the column's index,
    // hidden columns counted), and a double click on a row, which first makes
    // it the current one.
    std::function<void(int colIndex)> HeadClick;
    std::function<void()> DblClick;
    // A key pressed on the grid, outside a cell being typed into: its
    // character code (13 Enter); set to 0 the key does nothing more.
    std::function<void(int& keyAscii)> KeyPress;

    // Editable mode: the visible cells take typing; rows are neither added
    // nor deleted. What is typed into a row waits until another row becomes
    // current, the grid is re-read or the window calls UpdateRow(). Update
    // then gets the row as read and the changed fields with the texts typed:
    // it writes them and puts the values written in their place, which the
    // row then shows, or it refuses them (false, or a database error) and the
    // row shows its values as read.
    void setEditable(bool editable);
    bool isEditable() const { return editable_; }
    std::function<bool(const platform::Row& record, platform::Row& changes)> Update;
    // Writes what is pending in the grid now; false when it was refused.
    bool UpdateRow();
    bool EditPending() const { return pendingRow_ >= 0; }

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString display(const QVariant& value, const Column& column) const;
    // Shows a record's values in its row.
    void showRow(int row);
    // Hands an open cell editor's text to its cell.
    void commitOpenEditor();

    void applyColumnWidths();
    void fitRowHeight();
    bool sizedByContents() const { return fitColumns_ || !wholeColumns_.empty(); }
    // The width a visible column needs to show its caption and every value whole.
    int contentWidth(int col) const;

    std::vector<Column> columns_;
    double columnScale_ = 1.0;
    bool fitColumns_ = false;
    std::vector<int> wholeColumns_;
    std::vector<platform::Row> records_;
    int row_ = -1;
    bool editable_ = false;
    int pendingRow_ = -1;     // the row typed into, -1 when nothing is pending
    platform::Row pending_;   // its changed fields and the texts typed
};

} // namespace platform
