#include "machine/TableFile.h"

#include "nc/NcNumber.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString DefaultTablePath()
{
    return QDir(QStringLiteral(BRINDLEWICK_DATA_DIR)).filePath(DefaultTableFileName());
}

ConversionTable ReadDefaultTable()
{
    ConversionTable table;
    const TableFileResult result = ReadTableFile(DefaultTablePath(), table);
    EXPECT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(result.rowsRead, 100);
    return table;
}

// The row the translator picks for an M code: the first from row 6 on whose `before`, from its second
// character on, has that value (an empty `before` counts as 0).
int RowForMCode(const ConversionTable &table, int code)
{
    for (int r = 6; r <= ConversionTable::RowCount; ++r) {
        const QString before = table.Row(r).before.value_or(QString());
        if (float(nc::ValueOfText(QStringView(before).mid(qMin<qsizetype>(1, before.size())))) == float(code))
            return r;
    }
    return 0;
}

TEST(DefaultTable, IsInTheFileFormat)
{
    QFile file(DefaultTablePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QByteArray rewritten;
    ASSERT_TRUE(EncodeTableFile(ReadDefaultTable(), rewritten).ok);
    // Written by the table file's own rules, so saving it unchanged gives the same bytes.
    EXPECT_EQ(rewritten, bytes);
}

TEST(DefaultTable, SetsUpTheFanucToOspTranslation)
{
    const ConversionTable table = ReadDefaultTable();
    EXPECT_EQ(table.Row(2).before, QStringLiteral("FANUC"));
    EXPECT_EQ(table.Row(2).after, QStringLiteral("OSP"));
    EXPECT_EQ(table.Row(3).after, QStringLiteral("OFF"));
    EXPECT_TRUE(nc::ReadsWhollyAsNumber(table.Row(4).after));
    EXPECT_GT(nc::ValueOfText(table.Row(4).after), 0);
    EXPECT_FALSE(table.Row(5).after.isEmpty());
    for (int r = 1; r <= 5; ++r)
        EXPECT_FALSE(table.Row(r).item.value_or(QString()).isEmpty()) << "row " << r;
}

TEST(DefaultTable, MapsTheCommonFanucLatheMCodes)
{
    struct Case
    {
        int code;
        const char *after;
    };
    const Case cases[] = {
        {0, "M00"},  {1, "M01"},  {2, "M02"},  {30, "M02"}, {3, "M03"},   {4, "M04"},
        {5, "M05"},  {8, "M08"},  {9, "M09"},  {19, "M19"}, {98, "CALL"}, {99, "RTS"},
        {41, "M41"}, {44, "M44"}, {23, "M23"}, {24, "M22"},
    };
    const ConversionTable table = ReadDefaultTable();
    for (const Case &c : cases) {
        const int row = RowForMCode(table, c.code);
        ASSERT_GT(row, 0) << "M" << c.code;
        EXPECT_EQ(table.Row(row).after, QString::fromUtf8(c.after)) << "M" << c.code;
        EXPECT_FALSE(table.Row(row).item.value_or(QString()).isEmpty()) << "M" << c.code;
    }
    // A row waiting for its FANUC code is labelled so, and never catches M00 before the stop row does.
    EXPECT_EQ(RowForMCode(table, 0), 6);
    for (int r = 6; r <= ConversionTable::RowCount; ++r) {
        if (!table.Row(r).before && !table.Row(r).after.isEmpty()) {
            EXPECT_TRUE(table.Row(r).item.value_or(QString()).contains(QStringLiteral("要入力")))
                << "row " << r;
        }
    }
}

} // namespace
