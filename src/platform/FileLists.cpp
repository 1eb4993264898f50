// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileLists.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;

bool isEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool within(const QString& path, const QString& root) {
    if (root == QLatin1String("/")) return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

/// Indents each folder entry by its depth, as a folder tree shows it.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(indented.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex& index) { return index.data(DepthRole).toInt() * 12; }
};

} // namespace

// --- drive list ----------------------------------------------------------------------------

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    addItems(roots());
    // The drop-down shows long mount points whole, however narrow the box itself is.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!quiet_) emit Change();
    });
}

QString DriveList::drive() const {
    return currentText();
}

void DriveList::setDrive(const QString& path) {
    QStringList all;
    for (int i = 0; i < count(); ++i)
        all << itemText(i);
    setCurrentIndex(int(all.indexOf(rootOf(path, all))));
}

void DriveList::setDriveQuietly(const QString& path) {
    quiet_ = true;
    setDrive(path);
    quiet_ = false;
}

QStringList DriveList::roots() {
    QStringList found;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Packaged read-only images and the kernel's own trees are no place for data files;
        // single files mounted over others (as containers do) are not roots at all.
        if (!volume.isValid() || !volume.isReady() || volume.fileSystemType() == "squashfs")
            continue;
        if (root.startsWith(QLatin1String("/proc/")) || root.startsWith(QLatin1String("/sys/")) ||
            root.startsWith(QLatin1String("/dev/")) || !QFileInfo(root).isDir())
            continue;
        if (root != QLatin1String("/") && !found.contains(root)) found << root;
    }
    std::sort(found.begin(), found.end());
    found.prepend(QStringLiteral("/"));
    return found;
}

QString DriveList::rootOf(const QString& path, const QStringList& roots) {
    QString best = QStringLiteral("/");
    for (const QString& root : roots)
        if (within(path, root) && root.size() > best.size()) best = root;
    return best;
}

// --- folder list ---------------------------------------------------------------------------

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemClicked, this, [this] { emit Click(); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { openFolder(row(item)); });
}

bool FolderList::setPath(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !QDir(folder).isReadable()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    const bool changed = clean != path_;
    path_ = clean;
    fill();
    if (changed) emit Change();
    return true;
}

QString FolderList::folderAt(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(PathRole).toString() : QString();
}

int FolderList::rowOf(const QString& folder) const {
    const QString clean = QDir::cleanPath(folder);
    for (int r = 0; r < count(); ++r)
        if (folderAt(r) == clean) return r;
    return -1;
}

void FolderList::clickFolder(int row) {
    if (!item(row)) return;
    setCurrentRow(row);
    emit Click();
}

void FolderList::openFolder(int row) {
    const QString folder = folderAt(row);
    if (!folder.isEmpty()) setPath(folder);
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event) && currentItem()) {
        openFolder(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::fill() {
    clear();
    QStringList chain;
    for (QString p = path_;; p = QFileInfo(p).path()) {
        chain.prepend(p);
        if (p == QLatin1String("/") || p == QFileInfo(p).path()) break;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto add = [this](const QString& path, const QString& name, int depth, const QIcon& icon) {
        auto* it = new QListWidgetItem(icon, name, this);
        it->setData(PathRole, path);
        it->setData(DepthRole, depth);
        it->setToolTip(path);
    };
    for (int i = 0; i < chain.size(); ++i) {
        const QString name = i == 0 ? chain[i] : QFileInfo(chain[i]).fileName();
        add(chain[i], name, i, open);
    }
    const QFileInfoList subs = QDir(path_).entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo& sub : subs) {
        // The listing also takes links to devices; only what leads to a folder is one.
        if (sub.isDir())
            add(QDir::cleanPath(sub.absoluteFilePath()), sub.fileName(), int(chain.size()), closed);
    }
    setCurrentRow(int(chain.size()) - 1);
}

// --- file list -----------------------------------------------------------------------------

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemClicked, this, [this] { emit Click(); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit DblClick(); });
}

void FileList::setPath(const QString& folder) {
    path_ = QDir::cleanPath(folder);
    refresh();
}

void FileList::setPattern(const QString& pattern) {
    pattern_ = pattern;
    refresh();
}

QString FileList::fileName() const {
    const QListWidgetItem* it = currentItem();
    return it && it->isSelected() ? it->text() : QString();
}

QStringList FileList::fileNames() const {
    QStringList names;
    for (int r = 0; r < count(); ++r)
        names << item(r)->text();
    return names;
}

void FileList::refresh() {
    clear();
    if (path_.isEmpty()) return;
    QDir dir(path_);
    // Name filters match without regard to case unless told otherwise.
    dir.setNameFilters({pattern_ == QLatin1String("*.*") ? QStringLiteral("*") : pattern_});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    // Links to devices and pipes come with the files; the reader takes plain files only.
    for (const QFileInfo& file : dir.entryInfoList())
        if (file.isFile()) addItem(file.fileName());
}

void FileList::clickFile(int row) {
    if (!item(row)) return;
    setCurrentRow(row);
    emit Click();
}

void FileList::doubleClickFile(int row) {
    if (!item(row)) return;
    setCurrentRow(row);
    emit DblClick();
}

void FileList::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event) && currentItem()) {
        emit Click();
        return;
    }
    QListWidget::keyPressEvent(event);
}
