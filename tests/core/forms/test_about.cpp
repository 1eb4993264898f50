// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "Registry.h"
#include "frmAbout.h"

#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

/// Text values with their bytes exactly as stored, NUL or not.
class FakeRegistry : public Registry {
public:
    using Values = std::map<QString, QByteArray>;
    std::map<QString, Values> keys;

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
        type = REG_SZ;
        data.replace(0, values.at(name).size(), values.at(name));
        size = std::uint32_t(values.at(name).size());
        return ERROR_SUCCESS;
    }
    long RegCloseKey(Key) override { return ERROR_SUCCESS; }
};

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

TEST_F(AboutTest, SystemInfoFromEitherRegistryEntry) {
    const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");
    frmAbout& about = Forms::get<frmAbout>();
    about.StartSysInfo(); // neither entry
    EXPECT_EQ(msgs->texts(), QStringList{unavailable});

    QTemporaryDir dir; // the folder as stored with its NUL
    reg.keys[QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location")]["MSINFO"] =
        dir.path().toLocal8Bit() + '\0';
    QFile(dir.filePath(QStringLiteral("MSINFO32.EXE"))).open(QIODevice::WriteOnly);
    msgs->clear();
    about.cmdSysInfo_Click();
    EXPECT_TRUE(msgs->calls.isEmpty());
    EXPECT_EQ(launches, QStringList{dir.filePath(QStringLiteral("MSINFO32.EXE")) + ' '});

    reg.keys[QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO")]["PATH"] = "/no/such/tool";
    launchSucceeds = false;
    about.StartSysInfo(); // the first entry wins, but names a file that cannot be started
    EXPECT_EQ(msgs->texts(), QStringList{unavailable});
    EXPECT_EQ(launches.last(), QStringLiteral("/no/such/tool "));
}
