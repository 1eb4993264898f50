// SPDX-License-Identifier: GPL-3.0-or-later
#include "Registry.h"

#include <QStandardPaths>
#include <QStringList>

namespace {

/// Linux has no registry; the one value the program asks for is the path of a
/// system-information program, answered from the programs installed.
class SystemRegistry : public Registry {
public:
    long RegOpenKeyEx(Key root, const QString& subKey, std::uint32_t, std::uint32_t,
                      Key& result) override {
        result = 0;
        if (root != HKEY_LOCAL_MACHINE ||
            subKey.compare(QLatin1String("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                           Qt::CaseInsensitive) != 0)
            return ERROR_FILE_NOT_FOUND;
        result = MsinfoKey;
        return ERROR_SUCCESS;
    }

    long RegQueryValueEx(Key key, const QString& valueName, std::uint32_t& type, QByteArray& data,
                         std::uint32_t& size) override {
        if (key != MsinfoKey || valueName.compare(QLatin1String("PATH"), Qt::CaseInsensitive) != 0)
            return ERROR_FILE_NOT_FOUND;
        const QString program = systemInfoProgram();
        if (program.isEmpty()) return ERROR_FILE_NOT_FOUND;
        QByteArray value = program.toLocal8Bit();
        value.append('\0');
        if (value.size() > data.size()) return 234; // more data than the buffer holds
        data.replace(0, value.size(), value);
        size = static_cast<std::uint32_t>(value.size());
        type = REG_SZ;
        return ERROR_SUCCESS;
    }

    long RegCloseKey(Key key) override { return key == MsinfoKey ? ERROR_SUCCESS : 6; }

private:
    static constexpr Key MsinfoKey = 1;

    static QString systemInfoProgram() {
        for (const char* name :
             {"hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager"}) {
            const QString path = QStandardPaths::findExecutable(QLatin1String(name));
            if (!path.isEmpty()) return path;
        }
        return {};
    }
};

Registry*& current() {
    static Registry* r = nullptr;
    return r;
}

} // namespace

Registry& Registry::instance() {
    static SystemRegistry system;
    return current() ? *current() : system;
}

void Registry::setInstance(Registry* registry) {
    current() = registry;
}
