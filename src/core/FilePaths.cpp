// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilePaths.h"

#include <QFileInfo>

namespace FilePaths {

QString withDefaultExtension(const QString& path) {
    return path.contains(QLatin1Char('.')) ? path : path + QStringLiteral(".CSV");
}

bool endsWithSeparator(const QString& path) {
    return path.endsWith(QLatin1Char('/'));
}

QString folderText(const QString& folder) {
    return endsWithSeparator(folder) ? folder : folder + QLatin1Char('/');
}

SplitPath splitPath(const QString& path) {
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/')) + 1;
    return {path.left(cut), path.mid(cut)};
}

QString formatMessage(const QString& path, Mode mode) {
    if (path.size() >= 4 && path.startsWith(QLatin1Char('/'))) return {};
    if (mode == Mode::Save) return SaveFormat + QString::number(path.size() + 1);
    return ReadFormat;
}

std::optional<QString> directorySearch(const QString& path) {
    const SplitPath parts = splitPath(path);
    // A bare name lies in the working folder.
    if (!QFileInfo(parts.dir.isEmpty() ? QStringLiteral(".") : parts.dir).isDir())
        return std::nullopt;
    if (parts.title.isEmpty() || !QFileInfo(path).isFile()) return QString();
    return parts.title;
}

bool isExistingFile(const QString& path) {
    const auto found = directorySearch(path);
    return found && !found->isEmpty();
}

PathTest testPath(const QString& path, Mode mode) {
    const auto found = directorySearch(path);
    if (!found) return {PathStatus::NoDirectory, DirectoryNotFound, {}};
    if (QString m = formatMessage(path, mode); !m.isEmpty()) return {PathStatus::BadFormat, m, {}};
    const SplitPath split = splitPath(path);
    if (mode == Mode::Read && (found->isEmpty() || *found != split.title))
        return {PathStatus::NoFile, FileNotFound, split};
    return {PathStatus::Passed, {}, split};
}

} // namespace FilePaths
