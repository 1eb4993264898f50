// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "MDIFormMain.h"
#include "Registry.h"
#include "frmAbout.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

/// Keys and values as a test wants them: type and bytes exactly as stored, NUL or not.
class FakeRegistry : public Registry {
public:
    using Values = std::map<QString, std::pair<std::uint32_t, QByteArray>>;
    std::map<QString, Values> keys;
    int closed = 0;

    long RegOpenKeyEx(Key root, const QString& subKey, std::uint32_t, std::uint32_t,
                      Key& result) override {
        const auto it = keys.find(subKey);
        result = root == HKEY_LOCAL_MACHINE && it != keys.end() ? Key(&it->second) : 0;
        return result ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }
    long RegQueryValueEx(Key key, const QString& name, std::uint32_t& type, QByteArray& data,
                         std::uint32_t& size) override {
        const Values& values = *reinterpret_cast<const Values*>(key);
        if (!values.count(name)) return ERROR_FILE_NOT_FOUND;
        const QByteArray& bytes = values.at(name).second;
        type = values.at(name).first;
        data.replace(0, bytes.size(), bytes);
        size = std::uint32_t(bytes.size());
        return ERROR_SUCCESS;
    }
    long RegCloseKey(Key key) override {
        ++closed;
        return key ? ERROR_SUCCESS : 6;
    }
};

const QString MsinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

class AboutTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        Registry::setInstance(&reg);
    }
    void TearDown() override {
        Registry::setInstance(nullptr);
        AppFixture::TearDown();
    }
    FakeRegistry reg;
};

} // namespace

TEST_F(AboutTest, RegistryTextsWithAndWithoutTheirNul) {
    reg.keys[MsinfoKey] = {{"PATH", {Registry::REG_SZ, QByteArray("/opt/info\0", 10)}},
                           {"RAW", {Registry::REG_SZ, QByteArray("/opt/raw")}},
                           {"N", {Registry::REG_DWORD, QByteArray("\x2a\0\0\0", 4)}}};
    const struct {
        QString key, name;
        bool found;
        const char* value;
    } cases[] = {{MsinfoKey, "PATH", true, "/opt/info"},
                 {MsinfoKey, "RAW", true, "/opt/raw"},
                 {MsinfoKey, "N", true, "42"},
                 {MsinfoKey, "MISSING", false, ""},
                 {"NO\\SUCH\\KEY", "PATH", false, ""}};
    Registry::Key root = Registry::HKEY_LOCAL_MACHINE;
    for (auto c : cases) {
        QString value = QStringLiteral("x");
        EXPECT_EQ(Forms::get<frmAbout>().GetKeyValue(root, c.key, c.name, value), c.found);
        EXPECT_EQ(value, QLatin1String(c.value)) << c.name.toStdString();
    }
    EXPECT_EQ(reg.closed, 5); // the key is closed on every path
}

TEST_F(AboutTest, SystemInfoFromEitherRegistryEntry) {
    frmAbout& about = Forms::get<frmAbout>();
    about.StartSysInfo(); // neither entry
    EXPECT_EQ(msgs->texts(), QStringList{Unavailable});

    QTemporaryDir dir;
    reg.keys[QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location")]["MSINFO"] = {
        Registry::REG_SZ, dir.path().toLocal8Bit()};
    QFile(dir.filePath(QStringLiteral("MSINFO32.EXE"))).open(QIODevice::WriteOnly);
    msgs->clear();
    about.cmdSysInfo_Click();
    EXPECT_TRUE(msgs->calls.isEmpty());
    EXPECT_EQ(launches, QStringList{dir.filePath(QStringLiteral("MSINFO32.EXE")) + ' '});

    reg.keys[MsinfoKey]["PATH"] = {Registry::REG_SZ, QByteArray("/no/such/tool")};
    launchSucceeds = false;
    about.StartSysInfo(); // the first entry wins, but names a file that cannot be started
    EXPECT_EQ(msgs->texts(), QStringList{Unavailable});
    EXPECT_EQ(launches.last(), QStringLiteral("/no/such/tool "));
}
