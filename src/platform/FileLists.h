// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

/// The drive list: the file-system roots (mount points) that can be browsed, "/" first.
/// Change is raised whenever the chosen root changes, by the operator or by code.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    /// The chosen root.
    QString drive() const;
    /// Chooses the root that holds `path`; raises Change when that is another root.
    void setDrive(const QString& path);
    /// As setDrive, without raising Change.
    void setDriveQuietly(const QString& path);

    /// The mounted file-system roots worth offering, "/" first, the others sorted.
    static QStringList roots();
    /// The root among `roots` that holds `path` (the longest that is a prefix of it).
    static QString rootOf(const QString& path, const QStringList& roots);

signals:
    void Change();

private:
    bool quiet_ = false;
};

/// The folder list: the chain of folders from the root down to the current one, then the
/// current folder's subfolders, each indented by its depth. A click selects (Click); a double
/// click or Enter opens the folder, which makes it the path (Change).
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return path_; }
    /// Opens `folder`. False, and nothing changes, when it is not a folder that can be listed.
    /// Raises Change when the path changes.
    bool setPath(const QString& folder);
    /// The full path of entry `row`; empty for a row out of range.
    QString folderAt(int row) const;
    /// The entry of `folder`, -1 when it is not listed.
    int rowOf(const QString& folder) const;

    /// The operator clicks entry `row`.
    void clickFolder(int row);
    /// The operator double-clicks entry `row`.
    void openFolder(int row);

signals:
    void Change();
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();

    QString path_;
};

/// The file list: the files of one folder whose names match a pattern such as "*.CSV", without
/// regard to case; "*.*" lists every file, also those without an extension.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return path_; }
    void setPath(const QString& folder);
    QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);
    /// The chosen file's name; empty when none is chosen.
    QString fileName() const;
    /// The names listed, in order.
    QStringList fileNames() const;
    /// Lists the folder again.
    void refresh();

    /// The operator clicks entry `row`.
    void clickFile(int row);
    /// The operator double-clicks entry `row`.
    void doubleClickFile(int row);

signals:
    void Click();
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
};
