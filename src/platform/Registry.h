// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

/// The system's configuration registry, as far as the About window reads it. Calls return 0
/// on success and an error number otherwise.
class Registry {
public:
    using Key = std::uintptr_t;
    static constexpr Key HKEY_LOCAL_MACHINE = 0x80000002;
    static constexpr std::uint32_t REG_SZ = 1;
    static constexpr std::uint32_t REG_DWORD = 4;
    static constexpr long ERROR_SUCCESS = 0;
    static constexpr long ERROR_FILE_NOT_FOUND = 2;

    virtual ~Registry() = default;
    virtual long RegOpenKeyEx(Key root, const QString& subKey, std::uint32_t options,
                              std::uint32_t access, Key& result) = 0;
    /// Fills `data` (whose size is the buffer offered) from its start and sets `size` to the
    /// number of bytes of the value.
    virtual long RegQueryValueEx(Key key, const QString& valueName, std::uint32_t& type,
                                 QByteArray& data, std::uint32_t& size) = 0;
    virtual long RegCloseKey(Key key) = 0;

    /// The registry in use: on Linux one that knows only where a system-information program is.
    static Registry& instance();
    /// Tests put a fake here; null restores the system's.
    static void setInstance(Registry* registry);
};
