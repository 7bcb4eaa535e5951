#pragma once
// Stand-ins for the shared grid and text box until they are in the platform
// folder; same members as those will have.

#include "platform/Database.h"

#include <QLineEdit>
#include <QTableWidget>

#include <functional>
#include <vector>

namespace platform {

class DBGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString caption;
        QString field;
        int width = 1000;
        bool visible = true;
        QString format;
    };
    explicit DBGrid(QWidget* parent = nullptr);
    void setColumns(std::vector<Column> columns);
    void Refresh(const Database& db, const QString& sql, const QVariantList& values = {});
    void setRecords(std::vector<platform::Row> records);
    const std::vector<platform::Row>& records() const { return records_; }
    int RecordCount() const { return static_cast<int>(records_.size()); }
    int Row() const { return row_; }
    void setRow(int row);
    void ClearRow();
    QString Text(int col) const;
    QString Id() const { return Text(0); }
    std::function<void(int colIndex)> HeadClick;
    std::function<void()> DblClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::vector<Column> columns_;
    std::vector<platform::Row> records_;
    int row_ = -1;
};

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr) : QLineEdit(parent) {}
    std::function<void(bool& cancel)> Validate;
    std::function<void()> LostFocus;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool leaving_ = false;
};

} // namespace platform
