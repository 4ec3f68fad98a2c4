#include "machine/TableFile.h"
#include "tests/support/ChildProcess.h"

#include "nc/ProgramText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

using Opt = std::optional<QString>;
const Opt None = std::nullopt;

QString U(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

ConversionTableRow MakeRow(Opt item, Opt before, const char *after)
{
    return {std::move(item), std::move(before), U(after)};
}

// A table whose every row is distinct, so a test sees which rows a read has overwritten.
ConversionTable MarkedTable()
{
    ConversionTable table;
    for (int r = 1; r <= ConversionTable::RowCount; ++r)
        table.Row(r) = {QStringLiteral("old%1").arg(r), QStringLiteral("M%1").arg(r), QStringLiteral("X")};
    return table;
}

QByteArray Cp932(const QString &text)
{
    const nc::EncodedText encoded = nc::EncodeCp932(text);
    EXPECT_TRUE(encoded.ok());
    return encoded.bytes;
}

const char *const StandardHeader =
    "Brindlewick  Machine convert file R.Quendlow,,\r\n項　目,変換前,変換後\r\n";

std::string Printable(const ConversionTableRow &row)
{
    const auto show = [](const Opt &value) {
        return value ? '[' + value->toStdString() + ']' : std::string("-");
    };
    return show(row.item) + ' ' + show(row.before) + " [" + row.after.toStdString() + ']';
}

struct ReadCase
{
    const char *name;
    const char *body; // the file after the standard header (or the whole file when `whole`)
    bool ok;
    int rowsRead;
    std::vector<ConversionTableRow> rows; // the expected rows 1, 2, ...
    bool whole = false;
};

const ReadCase ReadCases[] = {
    {"quoted fields keep commas and line ends",
     "\"a,b\",\"x\r\ny\",\"\"\r\n",
     true,
     1,
     {MakeRow(U("a,b"), U("x\r\ny"), "")}},
    {"unquoted fields lose their blanks",
     "  abc  , d e ,\tf\t\r\n",
     true,
     1,
     {MakeRow(U("abc"), U("d e"), "f")}},
    {"unquoted empty fields have no value", ",,\r\n", true, 1, {MakeRow(None, None, "")}},
    {"blank unquoted fields have no value", "  ,\t,  \r\n", true, 1, {MakeRow(None, None, "")}},
    {"quoted empty fields are empty text", "\"\",\"\",\"\"\r\n", true, 1, {MakeRow(U(""), U(""), "")}},
    {"text after a closing quote is dropped",
     "\"ab\"cd,\"x\" y,\"z\"\"w\"\r\n",
     true,
     1,
     {MakeRow(U("ab"), U("x"), "z")}},
    {"blanks before an opening quote are skipped",
     "  \"a b \" ,\t\"c\",\"\"\r\n",
     true,
     1,
     {MakeRow(U("a b "), U("c"), "")}},
    {"a quote inside an unquoted field is text",
     "ab\"c,d,e\r\n",
     true,
     1,
     {MakeRow(U("ab\"c"), U("d"), "e")}},
    {"a lone CR or LF ends a field", "a\nb\rc\r\n", true, 1, {MakeRow(U("a"), U("b"), "c")}},
    {"LF CR are two line ends", "a\n\rb,c\r\n", false, 1, {MakeRow(U("a"), None, "b")}},
    {"Japanese text",
     "\"主軸正転\",\"M03\",\"M03\"\r\n\"ｶﾀｶﾅ\",,\"項　目\"\r\n",
     true,
     2,
     {MakeRow(U("主軸正転"), U("M03"), "M03"), MakeRow(U("ｶﾀｶﾅ"), None, "項　目")}},
    {"a short file fills the rows it reaches",
     "a,b,c\r\nd,e,f\r\n",
     true,
     2,
     {MakeRow(U("a"), U("b"), "c"), MakeRow(U("d"), U("e"), "f")}},
    {"the headers alone change nothing", "", true, 0, {}},
    {"the last line may lack its line end", "a,b,c", true, 1, {MakeRow(U("a"), U("b"), "c")}},
    {"a comma at the very end promises an empty field", "a,b,", true, 1, {MakeRow(U("a"), U("b"), "")}},
    {"blank lines after the last row are no fields",
     "a,b,c\r\n\r\n  \r\n\n",
     true,
     1,
     {MakeRow(U("a"), U("b"), "c")}},
    {"a blank line between rows is an empty field",
     "a,b,c\r\n\r\nd,e,f\r\n",
     false,
     2,
     {MakeRow(U("a"), U("b"), "c"), MakeRow(None, U("d"), "e")}},
    {"a line of two fields shifts the rows after it",
     "\"a\",\"b\"\r\n\"c\",\"d\",\"e\"\r\n\"f\",,\r\n",
     false,
     2,
     {MakeRow(U("a"), U("b"), "c"), MakeRow(U("d"), U("e"), "f")}},
    {"a line of four fields shifts the rows after it",
     "\"a\",\"b\",\"c\",\"d\"\r\n\"e\",\"f\",\"g\"\r\n",
     false,
     2,
     {MakeRow(U("a"), U("b"), "c"), MakeRow(U("d"), U("e"), "f")}},
    {"a last row cut short fails, earlier rows kept",
     "a,b,c\r\nd,e\r\n",
     false,
     1,
     {MakeRow(U("a"), U("b"), "c")}},
    {"an unclosed quote runs to the end of the file",
     "a,b,\"c\r\nd,e,f\r\n",
     true,
     1,
     {MakeRow(U("a"), U("b"), "c\r\nd,e,f\r\n")}},
    {"an unclosed quote that cuts a row short fails",
     "a,b,c\r\n\"d,e,f\r\ng,h,i\r\n",
     false,
     1,
     {MakeRow(U("a"), U("b"), "c")}},
    {"any two header rows are skipped",
     "x,y,z\r\n1,\"2,\",3\r\na,b,c\r\n",
     true,
     1,
     {MakeRow(U("a"), U("b"), "c")},
     true},
    {"a first line without its two commas shifts every field",
     "Brindlewick  Machine convert file "
     "R.Quendlow\r\n項　目,変換前,変換後\r\n\"a\",\"b\",\"c\"\r\n\"d\",\"e\",\"f\"\r\n",
     false,
     1,
     {MakeRow(U("c"), U("d"), "e")},
     true},
    {"an empty file fails", "", false, 0, {}, true},
    {"a file with one header line fails",
     "Brindlewick  Machine convert file R.Quendlow,,\r\n",
     false,
     0,
     {},
     true},
    {"a header row cut short fails", "a,b,c\r\nd,e\r\n", false, 0, {}, true},
};

TEST(ReadTableFile, ReadsFieldsAsAStream)
{
    for (const ReadCase &c : ReadCases) {
        SCOPED_TRACE(c.name);
        const QString file = c.whole ? U(c.body) : U(StandardHeader) + U(c.body);
        ConversionTable table = MarkedTable();
        const ConversionTable before = table;
        const TableFileResult result = ReadTableFile(Cp932(file), table);
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.rowsRead, c.rowsRead);
        EXPECT_EQ(result.message, c.ok ? QString() : U("変換ファイル名エラー"));
        ASSERT_EQ(int(c.rows.size()), c.rowsRead);
        for (int r = 1; r <= ConversionTable::RowCount; ++r) {
            const ConversionTableRow &expected = r <= c.rowsRead ? c.rows[r - 1] : before.Row(r);
            EXPECT_EQ(Printable(table.Row(r)), Printable(expected)) << "row " << r;
        }
    }
}

TEST(ReadTableFile, StopsAfterRowHundred)
{
    QString file = U(StandardHeader);
    for (int r = 1; r <= 105; ++r)
        file += QStringLiteral("\"i%1\",\"b%1\",\"a%1\"\r\n").arg(r);
    // What follows row 100 is never read, even a broken row.
    file += QStringLiteral("\"unclosed");
    ConversionTable table;
    const TableFileResult result = ReadTableFile(Cp932(file), table);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.rowsRead, 100);
    EXPECT_EQ(table.Row(1), MakeRow(U("i1"), U("b1"), "a1"));
    EXPECT_EQ(table.Row(100), MakeRow(U("i100"), U("b100"), "a100"));
}

TEST(ReadTableFile, RefusesBytesThatAreNoText)
{
    // A binary file: bytes that are no code page 932 character.
    QByteArray bytes = Cp932(U(StandardHeader) + U("a,b,c\r\n"));
    bytes += QByteArray("\x81\x7f\xff\x00\xfe", 5);
    ConversionTable table = MarkedTable();
    const TableFileResult result = ReadTableFile(bytes, table);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, U("変換ファイル名エラー"));
    EXPECT_EQ(table, MarkedTable());
}

TEST(ReadTableFile, MillionsOfFieldsStayBounded)
{
    struct HugeCase
    {
        const char *name;
        QString file;
        bool ok;
        int rowsRead;
    };
    const HugeCase cases[] = {
        {"a million commas fill the table once", U(StandardHeader) + QString(1000000, u','), true, 100},
        {"a million fields inside one unclosed quote",
         U(StandardHeader) + u'"' + QString(1000000, u',') + u'x', false, 0},
        {"a million blank lines after the last row", U(StandardHeader) + U("a,b,c") + QString(1000000, u'\n'),
         true, 1},
        {"a million line ends read as empty fields",
         U(StandardHeader) + U("a,b,c\r\n") + QString(1000000, u'\r') + u'x', true, 100},
    };
    for (const HugeCase &c : cases) {
        SCOPED_TRACE(c.name);
        ConversionTable table = MarkedTable();
        const TableFileResult result = ReadTableFile(Cp932(c.file), table);
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.rowsRead, c.rowsRead);
    }
}

TEST(ReadTableFile, MissingFileFails)
{
    QTemporaryDir dir;
    ConversionTable table = MarkedTable();
    const TableFileResult result = ReadTableFile(dir.filePath(QStringLiteral("none.csv")), table);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, U("変換ファイル名エラー"));
    EXPECT_EQ(table, MarkedTable());
    // A folder is no file either.
    EXPECT_FALSE(ReadTableFile(dir.path(), table).ok);
}

TEST(TableFilePath, JoinsFolderAndName)
{
    EXPECT_EQ(TableFilePath(QStringLiteral("/opt/bw"), QStringLiteral("t.csv")),
              QStringLiteral("/opt/bw/t.csv"));
    EXPECT_EQ(TableFilePath(QStringLiteral("/opt/bw/"), QStringLiteral("t.csv")),
              QStringLiteral("/opt/bw/t.csv"));
    EXPECT_EQ(TableFilePath(QString(), QStringLiteral("t.csv")), QStringLiteral("t.csv"));
}

// The table beside the executable wins (a build folder); else the one an installation puts in
// share/brindlewick/ beside bin/; with neither, the executable's folder as before.
TEST(DataFolder, FindsTheTableBesideTheProgramOrInstalled)
{
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString share = root.filePath(QStringLiteral("share/brindlewick"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
    const auto putTable = [](const QString &folder) {
        QFile file(QDir(folder).filePath(DefaultTableFileName()));
        return file.open(QIODevice::WriteOnly);
    };
    EXPECT_EQ(DataFolder(bin), bin);
    ASSERT_TRUE(putTable(share));
    EXPECT_EQ(DataFolder(bin), share);
    EXPECT_EQ(DataFolder(bin + QStringLiteral("/")), share);
    ASSERT_TRUE(putTable(bin));
    EXPECT_EQ(DataFolder(bin), bin);
}

TEST(WriteTableFile, WritesTheExactFormat)
{
    ConversionTable table;
    table.Row(1) = MakeRow(U("見出し"), None, "");
    table.Row(2) = MakeRow(None, U("FANUC"), "OSP");
    table.Row(3) = MakeRow(U(""), U(""), "x, y");
    table.Row(100) = MakeRow(U("ｷｬﾝｾﾙ"), U("M05"), "M05 M63");
    QByteArray expected("Brindlewick  Machine convert file R.Quendlow,,\r\n"
                        "\x8d\x80\x81\x40\x96\xda,\x95\xcf\x8a\xb7\x91\x4f,\x95\xcf\x8a\xb7\x8c\xe3\r\n"
                        "\"\x8c\xa9\x8f\x6f\x82\xb5\",,\"\"\r\n"
                        ",\"FANUC\",\"OSP\"\r\n"
                        "\"\",\"\",\"x, y\"\r\n");
    for (int r = 4; r < 100; ++r)
        expected += ",,\"\"\r\n";
    expected += "\"\xb7\xac\xdd\xbe\xd9\",\"M05\",\"M05 M63\"\r\n";
    QByteArray bytes;
    ASSERT_TRUE(EncodeTableFile(table, bytes).ok);
    EXPECT_EQ(bytes, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(U("変換.csv"));
    ASSERT_TRUE(WriteTableFile(path, table).ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);
}

TEST(WriteTableFile, ReadsBackTheSameTable)
{
    ConversionTable empty;
    ConversionTable mixed;
    const Opt texts[] = {None,        U(""),      U("a,b"),     U("x\r\ny"), U("  padded  "),
                         U("項　目"), U("ﾎﾟｲﾝﾄ"), U("C:\\nc\\")};
    constexpr int count = int(std::size(texts));
    for (int r = 1; r <= ConversionTable::RowCount; ++r)
        mixed.Row(r) = {texts[r % count], texts[(r / count) % count],
                        texts[(r + 3) % count].value_or(QString())};
    ConversionTable full;
    for (int r = 1; r <= ConversionTable::RowCount; ++r)
        full.Row(r) = {QStringLiteral("項目%1").arg(r), QStringLiteral("M%1").arg(r),
                       QStringLiteral("M%1,").arg(r)};
    const ConversionTable *tables[] = {&empty, &mixed, &full};
    for (const ConversionTable *original : tables) {
        QByteArray bytes;
        ASSERT_TRUE(EncodeTableFile(*original, bytes).ok);
        ConversionTable read = MarkedTable();
        const TableFileResult result = ReadTableFile(bytes, read);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.rowsRead, 100);
        for (int r = 1; r <= ConversionTable::RowCount; ++r)
            EXPECT_EQ(Printable(read.Row(r)), Printable(original->Row(r))) << "row " << r;
    }
}

TEST(WriteTableFile, RefusesWhatTheFileCannotHoldAndKeepsTheOldFile)
{
    struct Case
    {
        const char *name;
        int row;
        ConversionTableRow content;
        const char *where; // the place the message names
    };
    const Case cases[] = {
        {"a double quote", 7, MakeRow(U("say \"hi\""), U("M01"), "M01"), "7行目（項　目）"},
        {"a character outside code page 932", 12, MakeRow(U("a"), U("b"), "X\u00e9"), "12行目（変換後）"},
        {"a character outside the basic plane", 99, MakeRow(None, U("\U0001F600"), ""), "99行目（変換前）"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    const QByteArray old("old file");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile seed(path);
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write(old);
        seed.close();
        ConversionTable table;
        table.Row(c.row) = c.content;
        const ConversionTable before = table;
        const TableFileResult result = WriteTableFile(path, table);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.message.contains(U(c.where))) << result.message.toStdString();
        EXPECT_EQ(table, before);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), old);
    }
}

TEST(WriteTableFile, ReportsAFolderThatCannotBeWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/t.csv"));
    const TableFileResult result = WriteTableFile(path, ConversionTable());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains(path));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ReadTableFile, AFileFarTooLargeIsNoTable)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("huge.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Cp932(U(StandardHeader) + U("a,b,c\r\n")));
    ASSERT_TRUE(file.resize(200 * 1024 * 1024));
    file.close();
    ConversionTable table = MarkedTable();
    const TableFileResult result = ReadTableFile(file.fileName(), table);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, U("変換ファイル名エラー"));
    EXPECT_EQ(table, MarkedTable());
}

// The table file lives in the program's folder by default, which an ordinary user may not write to; a
// full disk (here a file size limit) may stop the write half way. Either way the message names the file
// and the reason, and the old file stays whole.
TEST(WriteTableFile, AWriteThatFailsKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::Permissions(0x7777)));
    QDir(dir.path()).mkdir(QStringLiteral("program"));
    const QString locked = dir.filePath(QStringLiteral("program/t.csv"));
    const QString open = dir.filePath(QStringLiteral("t.csv"));
    QByteArray old;
    ASSERT_TRUE(EncodeTableFile(MarkedTable(), old).ok);
    for (const QString &path : {locked, open}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
        file.close();
        ASSERT_TRUE(QFile::setPermissions(path, QFile::Permissions(0x6666)));
    }
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(QStringLiteral("program")), QFile::Permissions(0x5555)));
    struct Case
    {
        const char *what;
        testsupport::ChildLimits limits;
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {"program folder not writable", {true, -1}, locked, U("フォルダーに書き込む権限がありません。")},
        {"file size limit",
         {false, 512},
         open,
         U("書き込めるファイルの大きさの上限 (512 バイト) を超えます。")},
    };
    for (const Case &c : cases) {
        const std::optional<bool> passed = testsupport::RunInChild(c.limits, [&] {
            const TableFileResult result = WriteTableFile(c.path, ConversionTable());
            const QString expected = U("変換ファイルを保存できませんでした。\n") + c.path + u'\n' + c.reason;
            if (result.ok || result.message != expected)
                return testsupport::ChildFailure(qPrintable(result.message));
            return true;
        });
        ASSERT_TRUE(passed.has_value()) << c.what << ": could not set the child up";
        EXPECT_TRUE(*passed) << c.what;
        QFile file(c.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), old) << c.what;
    }
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("program"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("t.csv")});
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(QStringLiteral("program")), QFile::Permissions(0x7777)));
}

} // namespace
