#include "recovery/FileStamp.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryStore.h"
#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace recovery;

namespace {

QString U(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// Every text comes back as typed, in code page 932 where it can be and in UTF-8 where it cannot.
TEST(RecoveryCopy, GivesBackTheTextAndItsFile)
{
    struct Case
    {
        QString path;
        QString text;
        QByteArray encoding;
    } const cases[] = {
        {U("/home/作業者/プログラム 1.nc"), U("O1000\r\n(外径 荒 R0.8)\r\nG00 X62. Z5.\r\n"), "cp932"},
        {QString(), QString(), "cp932"},
        {U("/tmp/a.nc"), U("G01 X1.\r\n(\U0001F600 \u00E9)\r\n"), "utf-8"}, // no code page 932 character
        {U("/tmp/b.nc"), U("lone\rCR and \nLF\r\r\n\u001A"), "cp932"},      // line ends kept as they were
    };
    const QDateTime when =
        QDateTime::fromString(QStringLiteral("2026-12-09T04:30:01.250Z"), Qt::ISODateWithMs);
    for (const Case &c : cases) {
        const QByteArray bytes = EncodeCopy({c.path, when, c.text});
        EXPECT_TRUE(bytes.contains("\nencoding=" + c.encoding + "\n")) << c.text.toStdString();
        const ReadCopy read = DecodeCopy(bytes);
        ASSERT_EQ(read.status, ReadStatus::Read) << read.reason.toStdString();
        EXPECT_EQ(read.contents.text, c.text);
        EXPECT_EQ(read.contents.documentPath, c.path);
        EXPECT_EQ(read.contents.written, when);
    }
}

// A copy cut short, changed, or not a copy is broken; one of another version is told apart from it.
TEST(RecoveryCopy, RefusesWhatItCannotTrust)
{
    const QByteArray good =
        EncodeCopy({QStringLiteral("/p.nc"), QDateTime::currentDateTimeUtc(), U("G00 X10.\r\n(テスト)\r\n")});
    QByteArray flipped = good;
    flipped[flipped.size() - 3] = 'Y';
    QByteArray otherVersion = good;
    otherVersion.replace("BRINDLEWICK-RECOVERY 1", "BRINDLEWICK-RECOVERY 2");
    struct Case
    {
        const char *what;
        QByteArray bytes;
        ReadStatus status;
    } const cases[] = {
        {"cut in the text", good.first(good.size() - 4), ReadStatus::Broken},
        {"cut in the header", good.first(40), ReadStatus::Broken},
        {"one byte changed", flipped, ReadStatus::Broken},
        {"longer than said", good + "X", ReadStatus::Broken},
        {"no copy", "G00 X10.\r\n", ReadStatus::Broken},
        {"empty", QByteArray(), ReadStatus::Broken},
        {"unknown header line", QByteArray(good).replace("\nlength=", "\nsize=1\nlength="),
         ReadStatus::Broken},
        {"another version", otherVersion, ReadStatus::OtherVersion},
    };
    for (const Case &c : cases) {
        const ReadCopy read = DecodeCopy(c.bytes);
        EXPECT_EQ(read.status, c.status) << c.what;
        EXPECT_FALSE(read.reason.isEmpty()) << c.what;
    }
}

// Copies of editors still running are never taken; a copy whose editor died is, by one store at a time.
TEST(RecoveryStore, TakesOnlyCopiesOfEditorsThatAreGone)
{
    QTemporaryDir folder;
    RecoveryStore running(folder.path());
    QString error;
    ASSERT_TRUE(running.Open(error)) << error.toStdString();
    ASSERT_TRUE(running.WriteOwnCopy("running", error));

    // An editor that ends without closing: its lock file stays, naming a process that is gone.
    QString deadCopy;
    const auto died = testsupport::RunInChild({}, [&] {
        auto *store = new RecoveryStore(folder.path()); // never destroyed: the lock is left behind
        QString childError;
        return store->Open(childError) && store->WriteOwnCopy("died", childError);
    });
    ASSERT_TRUE(died.value_or(false));
    const QStringList files = QDir(folder.path()).entryList(QDir::Files);
    EXPECT_EQ(files.filter(QStringLiteral(".lock")).size(), 2) << files.join(' ').toStdString();

    RecoveryStore first(folder.path());
    RecoveryStore second(folder.path());
    ASSERT_TRUE(first.Open(error) && second.Open(error));
    std::vector<RecoveryStore::LeftCopy> taken = first.TakeLeftCopies();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(ReadAll(taken[0].path), "died");
    EXPECT_TRUE(second.TakeLeftCopies().empty()); // the first holds it
    RecoveryStore::ReleaseLeftCopy(taken[0]);
    std::vector<RecoveryStore::LeftCopy> again = second.TakeLeftCopies();
    ASSERT_EQ(again.size(), 1u);
    RecoveryStore::RemoveLeftCopy(again[0]);
    EXPECT_TRUE(first.TakeLeftCopies().empty());
    EXPECT_EQ(ReadAll(running.OwnCopyPath()), "running");
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.recovery")}, QDir::Files).size(), 1);
    // an editor gone without a copy leaves a lock file alone, which the next editor clears away
    ASSERT_TRUE(testsupport::RunInChild({}, [&] {
                    QString childError;
                    return (new RecoveryStore(folder.path()))->Open(childError);
                }).value_or(false));
    RecoveryStore next(folder.path());
    ASSERT_TRUE(next.Open(error));
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.lock")}, QDir::Files).size(), 4); // 4 live
}

// A file only touched is the same file; new contents or a deleted file are not.
TEST(FileStamp, TellsNewContentsFromATouch)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("p.nc"));
    ASSERT_TRUE(WriteAll(path, "G00 X1.\r\n"));
    const FileStamp read = StampOfFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(StampOfFile(path).SameContents(read));
    ASSERT_TRUE(WriteAll(path, "G00 X2.\r\n")); // the same size
    EXPECT_FALSE(StampOfFile(path).SameContents(read));
    QFile::remove(path);
    EXPECT_FALSE(StampOfFile(path).exists);
    EXPECT_FALSE(StampOfFile(path).SameContents(read));
}
