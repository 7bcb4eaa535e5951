#include "platform/FileListBox.h"

#include "platform/Database.h"

#include <QDir>

#include <algorithm>

namespace platform {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {}

void FileListBox::setPath(const QString& hostFolder)
{
    path_ = hostFolder;
    Refresh();
}

void FileListBox::Refresh()
{
    QStringList nombres = QDir(path_).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(nombres.begin(), nombres.end(),
              [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    clear();
    addItems(nombres);
}

QString FileListBox::List(int index) const
{
    const QListWidgetItem* entrada = item(index);
    return entrada ? entrada->text() : QString();
}

QString FileListBox::FileName() const
{
    return List(ListIndex());
}

} // namespace platform
