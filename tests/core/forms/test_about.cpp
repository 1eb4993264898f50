// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "MDIFormMain.h"
#include "Registry.h"
#include "frmAbout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

/// Keys and values as a test wants them, including values stored without their NUL.
class FakeRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type;
        QByteArray bytes; // exactly as stored; the reported size is its length
    };
    std::map<QString, std::map<QString, Value>> keys;
    int opened = 0, closed = 0;

    long RegOpenKeyEx(Key root, const QString& subKey, std::uint32_t, std::uint32_t,
                      Key& result) override {
        result = 0;
        if (root != HKEY_LOCAL_MACHINE || !keys.count(subKey)) return ERROR_FILE_NOT_FOUND;
        ++opened;
        result = Key(std::distance(keys.begin(), keys.find(subKey)) + 1);
        return ERROR_SUCCESS;
    }
    long RegQueryValueEx(Key key, const QString& name, std::uint32_t& type, QByteArray& data,
                         std::uint32_t& size) override {
        auto& values = std::next(keys.begin(), long(key) - 1)->second;
        auto it = values.find(name);
        if (it == values.end()) return ERROR_FILE_NOT_FOUND;
        type = it->second.type;
        data.replace(0, it->second.bytes.size(), it->second.bytes);
        size = std::uint32_t(it->second.bytes.size());
        return ERROR_SUCCESS;
    }
    long RegCloseKey(Key key) override {
        ++closed;
        return key ? ERROR_SUCCESS : 6;
    }
};

const QString MsinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
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

TEST_F(AboutTest, WindowTextsAndWaysToCloseIt) {
    MDIFormMain& main = startProgram();
    for (int way = 0; way < 4; ++way) {
        main.mnuHelpAbout_Click();
        frmAbout& about = Forms::get<frmAbout>();
        ASSERT_TRUE(about.isVisible());
        EXPECT_EQ(about.window()->windowTitle(), QStringLiteral("About Tarvolm"));
        EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version 1.3.0"));
        EXPECT_EQ(about.lblTitle->text(), QStringLiteral("Tarvolm"));
        EXPECT_EQ(main.LblStatus->text(), QStringLiteral("Status: About this application."));
        main.CmdNetwork_Click(); // navigation leaves it alone
        EXPECT_TRUE(about.isVisible());
        about.window()->activateWindow();
        pump(20);
        switch (way) {
        case 0:
            about.cmdOK->click();
            break;
        case 1:
            QTest::keyClick(about.window(), Qt::Key_Escape);
            break;
        case 2:
            QTest::keyClick(about.window(), Qt::Key_Return);
            break;
        case 3:
            about.window()->close();
            break;
        }
        EXPECT_FALSE(about.isLoaded()) << way;
    }
}

TEST_F(AboutTest, RegistryStringsWithAndWithoutTheirNul) {
    frmAbout& about = Forms::get<frmAbout>();
    reg.keys[MsinfoKey][QStringLiteral("PATH")] = {Registry::REG_SZ, QByteArray("/opt/info\0", 10)};
    reg.keys[MsinfoKey][QStringLiteral("RAW")] = {Registry::REG_SZ, QByteArray("/opt/raw")};
    reg.keys[MsinfoKey][QStringLiteral("N")] = {Registry::REG_DWORD, QByteArray("\x2a\0\0\0", 4)};
    reg.keys[MsinfoKey][QStringLiteral("BIN")] = {3, QByteArray("xyz")};
    Registry::Key root = Registry::HKEY_LOCAL_MACHINE;
    QString key = MsinfoKey, name, value = QStringLiteral("kept");
    for (auto [n, expected] : {std::pair{"PATH", "/opt/info"}, {"RAW", "/opt/raw"}, {"N", "42"}}) {
        name = QLatin1String(n);
        EXPECT_TRUE(about.GetKeyValue(root, key, name, value));
        EXPECT_EQ(value, QLatin1String(expected));
    }
    name = QStringLiteral("BIN"); // another type keeps what the text held
    EXPECT_TRUE(about.GetKeyValue(root, key, name, value));
    EXPECT_EQ(value, QStringLiteral("42"));
    name = QStringLiteral("MISSING");
    EXPECT_FALSE(about.GetKeyValue(root, key, name, value));
    EXPECT_TRUE(value.isEmpty());
    key = QStringLiteral("NO\\SUCH\\KEY");
    value = QStringLiteral("x");
    EXPECT_FALSE(about.GetKeyValue(root, key, name, value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_EQ(reg.closed, 6); // the key is closed on every path
}

TEST_F(AboutTest, SystemInfoFromEitherRegistryEntry) {
    frmAbout& about = Forms::get<frmAbout>();
    about.StartSysInfo(); // neither entry
    EXPECT_EQ(msgs->texts(), QStringList{Unavailable});
    EXPECT_TRUE(launches.isEmpty());

    QTemporaryDir dir;
    reg.keys[LocationKey][QStringLiteral("MSINFO")] = {Registry::REG_SZ, dir.path().toLocal8Bit()};
    msgs->clear();
    about.StartSysInfo(); // the folder lacks the tool
    EXPECT_EQ(msgs->texts(), QStringList{Unavailable});
    EXPECT_TRUE(launches.isEmpty());

    QFile(dir.filePath(QStringLiteral("MSINFO32.EXE"))).open(QIODevice::WriteOnly);
    msgs->clear();
    about.cmdSysInfo_Click();
    EXPECT_TRUE(msgs->calls.isEmpty());
    EXPECT_EQ(launches, QStringList{dir.filePath(QStringLiteral("MSINFO32.EXE")) + ' '});

    reg.keys[MsinfoKey][QStringLiteral("PATH")] = {Registry::REG_SZ, QByteArray("/no/such/tool")};
    launchSucceeds = false;
    about.StartSysInfo(); // the first entry names a file that cannot be started
    EXPECT_EQ(msgs->texts(), QStringList{Unavailable});
    EXPECT_EQ(launches.last(), QStringLiteral("/no/such/tool "));
}
