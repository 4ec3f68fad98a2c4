#include "app/window/DocumentFile.h"
#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class DocumentFileTest : public ::testing::Test
{
protected:
    QString PathOf(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    DocumentFile m_file;
};

TEST_F(DocumentFileTest, SavesAnUnchangedProgramByteForByte)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Japanese comments with a backslash trail byte",
         QByteArray("%\r\nO1000(\x83\x56\x83\x83\x83\x74\x83\x67 \x83\x5C)\r\nG00 X1.\\\r\n%\r\n")},
        {"characters with two codes", QByteArray("(\xED\x40\xFA\x5C\x87\x54\xFA\x4A)\r\n")},
        {"bytes that are no character", QByteArray("G01\x81\x7F X1.\r\n\xFF\r\n")},
        {"lone line ends", QByteArray("G01\nX1.\rY2.\r\n")},
        {"empty", QByteArray()},
    };
    for (const Case &c : cases) {
        WriteBytes(PathOf("in.nc"), c.bytes);
        const DocumentFile::ReadResult read = m_file.Read(PathOf("in.nc"));
        ASSERT_TRUE(read.ok) << c.what;
        const DocumentFile::WriteResult written = m_file.Write(PathOf("out.nc"), read.text);
        ASSERT_TRUE(written.ok) << c.what << written.failure.toStdString();
        EXPECT_EQ(ReadBytes(PathOf("out.nc")), c.bytes) << c.what;
    }
}

TEST_F(DocumentFileTest, ReadsCodePage932)
{
    WriteBytes(PathOf("a.nc"), QByteArray("O1(\x83\x65\x83\x58\x83\x67)\r\nX1.\\\r\n"));
    const DocumentFile::ReadResult read = m_file.Read(PathOf("a.nc"));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.text, QStringLiteral("O1(テスト)\r\nX1.\\\r\n"));
    EXPECT_FALSE(read.hadInvalidBytes);
    EXPECT_FALSE(read.wasRichText);
}

TEST_F(DocumentFileTest, WarnsOfBytesThatAreNoCharacter)
{
    WriteBytes(PathOf("bad.nc"), QByteArray("G01\r\nX\x81\x7F\r\n"));
    const DocumentFile::ReadResult read = m_file.Read(PathOf("bad.nc"));
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.hadInvalidBytes);
    // Changed, the text is written as it shows: the stand-ins replace the bytes that were no character.
    const DocumentFile::WriteResult written =
        m_file.Write(PathOf("out.nc"), read.text + QStringLiteral("M30"));
    ASSERT_TRUE(written.ok);
    const QByteArray bytes = ReadBytes(PathOf("out.nc"));
    EXPECT_TRUE(bytes.startsWith("G01\r\nX")) << bytes.toHex().toStdString();
    EXPECT_TRUE(bytes.endsWith("\r\nM30")) << bytes.toHex().toStdString();
    EXPECT_FALSE(bytes.contains("\x81\x7F")) << bytes.toHex().toStdString();
}

TEST_F(DocumentFileTest, ReadsRichTextAsPlainTextAndSavesPlainText)
{
    WriteBytes(PathOf("r.nc"),
               QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 x;}}\\f0 G00(\\'83\\'65)\\par X1.\\par }"));
    const DocumentFile::ReadResult read = m_file.Read(PathOf("r.nc"));
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.wasRichText);
    EXPECT_EQ(read.text, QStringLiteral("G00(テ)\r\nX1.\r\n"));
    ASSERT_TRUE(m_file.Write(PathOf("r.nc"), read.text).ok);
    EXPECT_EQ(ReadBytes(PathOf("r.nc")), QByteArray("G00(\x83\x65)\r\nX1.\r\n"));
}

TEST_F(DocumentFileTest, RefusesCharactersCodePage932CannotHold)
{
    const DocumentFile::WriteResult written =
        m_file.Write(PathOf("e.nc"), QStringLiteral("G01\r\nX1.\r\n(caf\u00e9)\r\n"));
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.failure,
              QStringLiteral(
                  "3 行目の文字 \"\u00e9\" (U+00E9) は Shift-JIS (コード ページ 932) で保存できません。"));
    EXPECT_FALSE(QFile::exists(PathOf("e.nc")));
}

TEST_F(DocumentFileTest, ReplacesTheOldFileKeepingItsPermissions)
{
    WriteBytes(PathOf("p.nc"), "old");
    QFile::setPermissions(PathOf("p.nc"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_TRUE(m_file.Write(PathOf("p.nc"), QStringLiteral("new\r\n")).ok);
    EXPECT_EQ(ReadBytes(PathOf("p.nc")), QByteArray("new\r\n"));
    const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(PathOf("p.nc")) & modeBits,
              QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("p.nc")});
}

// A file the pane could only show after minutes, or not at all, is refused with its size or its longest
// line: the command-line tool converts it.
TEST_F(DocumentFileTest, RefusesWhatThePaneCannotHold)
{
    const QByteArray tooLong(DocumentFile::LongestLine + 1, 'X');
    struct Case
    {
        const char *what;
        QByteArray bytes;
        qint64 sparseSize; // > 0: a file of this size without contents written
        QString failure;
    };
    const Case cases[] = {
        {"just over the size",
         {},
         DocumentFile::LargestFile + 1,
         QStringLiteral(
             "ファイルが大きすぎます (67108865 バイト)。編集画面で開けるのは 67108864 バイトまでです。")},
        {"200 MB", {}, 200 * 1024 * 1024, QStringLiteral("ファイルが大きすぎます (209715200 バイト)")},
        {"one line too long", tooLong, 0, QStringLiteral("1 行目の長さが 1000001 文字あります。")},
        {"LF line ends make one line", QByteArray("G01\n").repeated(250001), 0,
         QStringLiteral("1 行目の長さが 1000004 文字あります。")},
        {"the third line", "A\r\nB\r\n" + tooLong + "\r\nC", 0,
         QStringLiteral("3 行目の長さが 1000001 文字")},
        {"rich text", "{\\rtf1 " + tooLong + "\\par}", 0, QStringLiteral("1 行目の長さが 1000001 文字")},
    };
    for (const Case &c : cases) {
        QFile file(PathOf("big.nc"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        if (c.sparseSize > 0) {
            ASSERT_TRUE(file.resize(c.sparseSize));
        }
        file.close();
        const DocumentFile::ReadResult read = m_file.Read(PathOf("big.nc"));
        EXPECT_FALSE(read.ok) << c.what;
        EXPECT_TRUE(read.text.isEmpty()) << c.what;
        EXPECT_TRUE(read.failure.startsWith(c.failure)) << c.what << ": " << read.failure.toStdString();
    }
    WriteBytes(PathOf("longest.nc"), "G01\r\n" + QByteArray(DocumentFile::LongestLine, 'X') + "\r\n");
    EXPECT_TRUE(m_file.Read(PathOf("longest.nc")).ok);
}

TEST_F(DocumentFileTest, TellsWhatTheTextShownHides)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        bool invalid, nul, richText, damaged;
    };
    const Case cases[] = {
        {"plain", "G01 X1.\r\n", false, false, false, false},
        {"NUL bytes", QByteArray("G01\0X1.\r\n\0", 10), false, true, false, false},
        {"not code page 932", "G01\x81\x7F\xFF\xEF\x40", true, false, false, false},
        {"unbalanced braces", "{\\rtf1 {\\b G01}\\par X1.", false, false, true, true},
        {"too deep", "{\\rtf1 " + QByteArray(100000, '{') + "G01" + QByteArray(100000, '}') + "}", false,
         false, true, true},
        {"sound rich text", "{\\rtf1 {\\b G01}\\par}", false, false, true, false},
    };
    for (const Case &c : cases) {
        WriteBytes(PathOf("in.nc"), c.bytes);
        const DocumentFile::ReadResult read = m_file.Read(PathOf("in.nc"));
        ASSERT_TRUE(read.ok) << c.what;
        EXPECT_EQ(read.hadInvalidBytes, c.invalid) << c.what;
        EXPECT_EQ(read.hadNulBytes, c.nul) << c.what;
        EXPECT_EQ(read.wasRichText, c.richText) << c.what;
        EXPECT_EQ(read.damagedRichText, c.damaged) << c.what;
    }
}

// The editor keeps the open document when another file cannot be read: its bytes must stay remembered.
TEST_F(DocumentFileTest, AFailedReadForgetsNothing)
{
    const QByteArray odd("G01\x81\x7F\r\n");
    WriteBytes(PathOf("odd.nc"), odd);
    const DocumentFile::ReadResult read = m_file.Read(PathOf("odd.nc"));
    ASSERT_TRUE(read.ok);
    WriteBytes(PathOf("long.nc"), QByteArray(DocumentFile::LongestLine + 1, 'X'));
    ASSERT_FALSE(m_file.Read(PathOf("long.nc")).ok);
    ASSERT_FALSE(m_file.Read(PathOf("missing.nc")).ok);
    ASSERT_TRUE(m_file.Write(PathOf("odd.nc"), read.text).ok);
    EXPECT_EQ(ReadBytes(PathOf("odd.nc")), odd);
}

TEST_F(DocumentFileTest, SaysWhyAFileCannotBeRead)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
    struct Case
    {
        QString path;
        QString failure;
    };
    const Case cases[] = {
        {PathOf("missing.nc"), QStringLiteral("ファイルが見つかりません。")},
        {PathOf("folder"), QStringLiteral("フォルダーです。ファイルを選んでください。")},
        {QStringLiteral("/dev/null"), QStringLiteral("通常のファイルではありません。")},
    };
    for (const Case &c : cases) {
        const DocumentFile::ReadResult read = m_file.Read(c.path);
        EXPECT_FALSE(read.ok) << c.path.toStdString();
        EXPECT_EQ(read.failure, c.failure) << c.path.toStdString();
    }
}

TEST_F(DocumentFileTest, SaysWhyAFileCannotBeWritten)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
    WriteBytes(PathOf("plain"), "x");
    struct Case
    {
        QString path;
        QString failure;
    };
    const Case cases[] = {
        {PathOf("no/such/folder/a.nc"), QStringLiteral("保存先のフォルダーが見つかりません。")},
        {PathOf("plain/a.nc"), QStringLiteral("保存先のフォルダーが見つかりません。")},
        {PathOf("folder"), QStringLiteral("同じ名前のフォルダーがあります。")},
    };
    for (const Case &c : cases) {
        const DocumentFile::WriteResult written = m_file.Write(c.path, QStringLiteral("G01\r\n"));
        EXPECT_FALSE(written.ok) << c.path.toStdString();
        EXPECT_EQ(written.failure, c.failure) << c.path.toStdString();
    }
}

// Root reads and writes whatever the permissions say: the reads and writes run as an ordinary user.
TEST_F(DocumentFileTest, SaysWhenPermissionIsMissing)
{
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::Permissions(0x7777)));
    WriteBytes(PathOf("secret.nc"), "x");
    QFile::setPermissions(PathOf("secret.nc"), QFile::WriteOwner);
    WriteBytes(PathOf("locked.nc"), "x");
    QFile::setPermissions(PathOf("locked.nc"), QFile::ReadOwner);
    QDir(m_dir.path()).mkdir(QStringLiteral("ro"));
    QFile::setPermissions(PathOf("ro"), QFile::ReadOwner | QFile::ExeOwner);
    const std::optional<bool> passed = testsupport::RunInChild({true, -1}, [&] {
        if (m_file.Read(PathOf("secret.nc")).failure !=
            QStringLiteral("ファイルを読み取る権限がありません。"))
            return testsupport::ChildFailure("an unreadable file");
        if (m_file.Write(PathOf("locked.nc"), QStringLiteral("y")).failure !=
            QStringLiteral("ファイルが読み取り専用か、書き込む権限がありません。"))
            return testsupport::ChildFailure("a read-only file");
        if (m_file.Write(PathOf("ro/new.nc"), QStringLiteral("y")).failure !=
            QStringLiteral("フォルダーに書き込む権限がありません。"))
            return testsupport::ChildFailure("a folder without write permission");
        return true;
    });
    QFile::setPermissions(PathOf("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(passed.has_value()) << "could not run as an ordinary user";
    EXPECT_TRUE(*passed);
    EXPECT_EQ(ReadBytes(PathOf("locked.nc")), QByteArray("x"));
}

} // namespace
