#include "nc/FileWrite.h"
#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using testsupport::ChildFailure;
using testsupport::ChildLimits;
using testsupport::RunInChild;

QByteArray BytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void Put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

mode_t ModeOf(const QString &path)
{
    struct stat status
    {
    };
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

bool SetMode(const QString &path, mode_t mode)
{
    return chmod(QFile::encodeName(path).constData(), mode) == 0;
}

class FileWriteTest : public ::testing::Test
{
protected:
    // Open to everyone, so that a child running as another user can work in it.
    void SetUp() override { ASSERT_TRUE(SetMode(m_dir.path(), 0777)); }

    QString PathOf(const QString &name) const { return m_dir.filePath(name); }
    QStringList Entries(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

TEST_F(FileWriteTest, ReplacesTheFileKeepingItsPermissions)
{
    for (const mode_t mode :
         {mode_t(0600), mode_t(0640), mode_t(0644), mode_t(0664), mode_t(0755), mode_t(0700)}) {
        const QString path = PathOf(QStringLiteral("p.nc"));
        Put(path, "old contents, longer than the new");
        ASSERT_TRUE(SetMode(path, mode));
        EXPECT_EQ(nc::ReplaceFile(path, "new\r\n"), QString()) << std::oct << mode;
        EXPECT_EQ(BytesOf(path), QByteArray("new\r\n")) << std::oct << mode;
        EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
        // No temporary file is left beside it.
        EXPECT_EQ(Entries(m_dir.path()), QStringList{QStringLiteral("p.nc")}) << std::oct << mode;
    }
}

TEST_F(FileWriteTest, ReplacesTheFileALinkNamesAndKeepsTheLink)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("real"));
    const QString target = PathOf(QStringLiteral("real/prog.nc"));
    Put(target, "old");
    ASSERT_TRUE(SetMode(target, 0640));
    const QString link = PathOf(QStringLiteral("link.nc"));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(nc::ReplaceFile(link, "new"), QString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(BytesOf(target), QByteArray("new"));
    EXPECT_EQ(ModeOf(target), mode_t(0640));
    EXPECT_EQ(Entries(PathOf(QStringLiteral("real"))), QStringList{QStringLiteral("prog.nc")});
}

// A write that stops part way (here at the file size limit, as it would on a full disk) leaves the old
// file whole and no partial file anywhere.
TEST_F(FileWriteTest, AWriteCutShortLeavesTheOldFile)
{
    const QString path = PathOf(QStringLiteral("prog.nc"));
    Put(path, "G01 X1.\r\n");
    const QString folder = m_dir.path();
    const std::optional<bool> passed = RunInChild(ChildLimits{false, 4096}, [&] {
        if (!nc::ReplaceFile(PathOf(QStringLiteral("small.nc")), QByteArray(1000, 'x')).isEmpty())
            return ChildFailure("a file under the limit is written");
        // Just over the limit a buffered write once lost its tail silently and was committed as whole.
        for (const int size : {4097, 5000, 100000}) {
            const QString reason = nc::ReplaceFile(path, QByteArray(size, 'y'));
            if (!reason.contains(QStringLiteral("上限 (4096 バイト)")))
                return ChildFailure(qPrintable(QStringLiteral("the reason names the limit: ") + reason));
            if (BytesOf(path) != "G01 X1.\r\n")
                return ChildFailure(
                    qPrintable(QStringLiteral("the old file is unchanged after %1 bytes").arg(size)));
        }
        if (Entries(folder) != QStringList{QStringLiteral("prog.nc"), QStringLiteral("small.nc")})
            return ChildFailure(
                qPrintable(QStringLiteral("no partial file is left: ") + Entries(folder).join(u' ')));
        return true;
    });
    ASSERT_TRUE(passed.has_value()) << "could not set a file size limit";
    EXPECT_TRUE(*passed);
    EXPECT_EQ(BytesOf(path), QByteArray("G01 X1.\r\n"));
}

// What an ordinary user cannot write: a read-only file, a file in a folder without write permission (such
// as the folder the program is installed in), a folder that is not there.
TEST_F(FileWriteTest, SaysWhyNothingWasWritten)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("locked"));
    QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
    Put(PathOf(QStringLiteral("readonly.nc")), "kept");
    Put(PathOf(QStringLiteral("locked/prog.nc")), "kept");
    ASSERT_TRUE(SetMode(PathOf(QStringLiteral("readonly.nc")), 0444));
    ASSERT_TRUE(SetMode(PathOf(QStringLiteral("locked/prog.nc")), 0666));
    ASSERT_TRUE(SetMode(PathOf(QStringLiteral("locked")), 0555));
    struct Case
    {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {PathOf(QStringLiteral("readonly.nc")),
         QStringLiteral("ファイルが読み取り専用か、書き込む権限がありません。")},
        {PathOf(QStringLiteral("locked/prog.nc")), QStringLiteral("フォルダーに書き込む権限がありません。")},
        {PathOf(QStringLiteral("locked/new.nc")), QStringLiteral("フォルダーに書き込む権限がありません。")},
        {PathOf(QStringLiteral("missing/new.nc")), QStringLiteral("保存先のフォルダーが見つかりません。")},
        {PathOf(QStringLiteral("folder")), QStringLiteral("同じ名前のフォルダーがあります。")},
    };
    const std::optional<bool> passed = RunInChild(ChildLimits{true, -1}, [&] {
        bool all = true;
        for (const Case &c : cases) {
            const QString reason = nc::ReplaceFile(c.path, "new");
            if (reason != c.reason)
                all = ChildFailure(qPrintable(c.path + QStringLiteral(": ") + reason));
        }
        return all;
    });
    ASSERT_TRUE(SetMode(PathOf(QStringLiteral("locked")), 0777));
    ASSERT_TRUE(passed.has_value()) << "could not run as an ordinary user";
    EXPECT_TRUE(*passed);
    EXPECT_EQ(BytesOf(PathOf(QStringLiteral("readonly.nc"))), QByteArray("kept"));
    EXPECT_EQ(BytesOf(PathOf(QStringLiteral("locked/prog.nc"))), QByteArray("kept"));
    EXPECT_EQ(Entries(PathOf(QStringLiteral("locked"))), QStringList{QStringLiteral("prog.nc")});
}

} // namespace
