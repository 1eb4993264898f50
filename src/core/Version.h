// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The program's title and version, as shown by the splash, About and the data file.
namespace AppInfo {
inline constexpr int Major = TARVOLM_VERSION_MAJOR;
inline constexpr int Minor = TARVOLM_VERSION_MINOR;
inline constexpr int Revision = TARVOLM_VERSION_PATCH;
inline const QString Title = QStringLiteral("Tarvolm");
} // namespace AppInfo
