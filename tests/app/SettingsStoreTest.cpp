#include "app/window/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    QString File() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    QVariant Raw(const QString &key) const
    {
        QSettings settings(File(), QSettings::IniFormat);
        return settings.value(QStringLiteral("Settings/") + key);
    }
    void SetRaw(const QString &key, const QVariant &value)
    {
        QSettings settings(File(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/") + key, value);
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStoreTest, DefaultsOnAFirstStart)
{
    const StoredSettings stored = SettingsStore(File()).Read(QStringLiteral("/opt/brindlewick/bin"));
    EXPECT_EQ(stored.MainLeft, 1000.0f);
    EXPECT_EQ(stored.MainTop, 1000.0f);
    EXPECT_EQ(stored.MainWidth, 12000.0f);
    EXPECT_EQ(stored.MainHeight, 10000.0f);
    EXPECT_EQ(stored.OpenPathName, QStringLiteral("/opt/brindlewick/bin"));
    EXPECT_EQ(stored.MachinePath, QStringLiteral("/opt/brindlewick/bin"));
    EXPECT_EQ(stored.MachineFileName, QStringLiteral("オークマ 旋盤 FANUC-OSP.csv"));
}

TEST_F(SettingsStoreTest, WritesTextsAndReadsThemBack)
{
    SettingsStore store(File());
    store.WritePlacement(1500, -30, 9000.5f, 7200);
    store.WritePaths(QStringLiteral("/home/u/nc"), QStringLiteral("/home/u/tables"),
                     QStringLiteral("表 1.csv"));
    const struct
    {
        const char *key;
        const char *text;
    } expected[] = {{"MainLeft", "1500"},           {"MainTop", "-30"},
                    {"MainWidth", "9000.5"},        {"MainHeight", "7200"},
                    {"OpenPathName", "/home/u/nc"}, {"MachinePath", "/home/u/tables"},
                    {"MachineFileName", "表 1.csv"}};
    for (const auto &e : expected) {
        const QVariant raw = Raw(QString::fromUtf8(e.key));
        EXPECT_EQ(raw.typeId(), QMetaType::QString) << e.key;
        EXPECT_EQ(raw.toString(), QString::fromUtf8(e.text)) << e.key;
    }
    const StoredSettings stored = store.Read(QStringLiteral("/elsewhere"));
    EXPECT_EQ(stored.MainLeft, 1500.0f);
    EXPECT_EQ(stored.MainTop, -30.0f);
    EXPECT_EQ(stored.MainWidth, 9000.5f);
    EXPECT_EQ(stored.MainHeight, 7200.0f);
    EXPECT_EQ(stored.OpenPathName, QStringLiteral("/home/u/nc"));
    EXPECT_EQ(stored.MachinePath, QStringLiteral("/home/u/tables"));
    EXPECT_EQ(stored.MachineFileName, QStringLiteral("表 1.csv"));
}

TEST_F(SettingsStoreTest, PlacementThatIsNoNumberTakesItsDefault)
{
    const struct
    {
        QString text;
        float value;
    } cases[] = {{QStringLiteral("abc"), 1000},   {QStringLiteral(""), 1000},
                 {QStringLiteral("12 34"), 1000}, {QStringLiteral(" 2500 "), 2500},
                 {QStringLiteral("1.5E3"), 1500}, {QStringLiteral("1e99"), 1000}};
    for (const auto &c : cases) {
        SetRaw(QStringLiteral("MainLeft"), c.text);
        EXPECT_EQ(SettingsStore(File()).Read({}).MainLeft, c.value) << c.text.toStdString();
    }
}

TEST_F(SettingsStoreTest, AnEmptyStoredFolderStaysEmpty)
{
    SettingsStore(File()).WritePaths(QString(), QString(), QString());
    const StoredSettings stored = SettingsStore(File()).Read(QStringLiteral("/app"));
    EXPECT_EQ(stored.OpenPathName, QString());
    EXPECT_EQ(stored.MachineFileName, QString());
}

} // namespace
