// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/folderlistbox.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStyle>

namespace {

constexpr int PathRole = Qt::UserRole;

} // namespace

FolderListBox::FolderListBox(QWidget *parent) : QListWidget(parent)
{
    // A double click, or Enter on the selected folder, opens it.
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(item->data(PathRole).toString()); });
}

bool FolderListBox::setPath(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable()) {
        return false;
    }
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    QStringList children;
    QDirIterator it(path, QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext() && children.size() < MaxListed) {
        it.next();
        children << it.fileName();
    }
    children.sort(Qt::CaseInsensitive);

    m_path = path;
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The folders from the root down to the open one, each a step further in.
    QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    QString walked = QStringLiteral("/");
    auto addFolder = [this](const QIcon &icon, const QString &name, const QString &folderPath, int depth) {
        auto *item = new QListWidgetItem(icon, QString(depth * 2, u' ') + name, this);
        item->setData(PathRole, folderPath);
    };
    addFolder(open, QStringLiteral("/"), walked, 0);
    for (int i = 0; i < parts.size(); ++i) {
        walked = walked == u'/' ? walked + parts[i] : walked + u'/' + parts[i];
        addFolder(open, parts[i], walked, i + 1);
    }
    setCurrentRow(count() - 1);
    for (const QString &child : children) {
        addFolder(closed, child, path == u'/' ? path + child : path + u'/' + child, int(parts.size()) + 1);
    }
    return true;
}
