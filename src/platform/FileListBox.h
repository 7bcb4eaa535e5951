#pragma once

#include <QListWidget>

namespace platform {

// File list box: the names of the files of one folder, sorted by name the
// way the database sorts text, hidden files (the dot-files) left out. It
// reads the folder when its path is set and on Refresh(), never by itself.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // The folder listed (a host path).
    QString Path() const { return path_; }
    void setPath(const QString& hostFolder);
    void Refresh();

    int ListCount() const { return count(); }
    QString List(int index) const;
    // The selected entry, -1 for none.
    int ListIndex() const { return currentRow(); }
    // The name of the selected file; empty when none is.
    QString FileName() const;

private:
    QString path_;
};

} // namespace platform
