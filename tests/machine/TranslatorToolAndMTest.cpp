#include "TranslatorTestSupport.h"

using namespace translator_test;

namespace {

const Lines AtX50Z5 = {u"G00 X50. Z5."};
// Tool 1 has been labelled ("NT01").
const Lines Tool1Labelled = {u"G00 X50. Z5.", u"T0101", u"G00 X20."};

} // namespace

TEST(TranslatorTools, SixDigitToolNumbers)
{
    CheckCases(
        {
            {"offset, tool, offset", AtX50Z5, {u"T0101", u"X40."}, {u"N000 T010101", u"NT01 G00 X40"}},
            {"a later tool", Tool1Labelled, {u"T0303", u"X40."}, {u"N000 T030303", u"NT03 G00 X40"}},
            {"offset differs from tool", AtX50Z5, {u"T0203"}, {u"N000 T030203"}},
            {"offset 99 is the tool's own", AtX50Z5, {u"T0599"}, {u"N000 T050505"}},
            {"no tool number keeps the labelled tool",
             Tool1Labelled,
             {u"T0005", u"X30."},
             {u"N000 T050105", u"N000 G00 X30"}},
            {"tool 10", AtX50Z5, {u"T1005", u"X30."}, {u"N000 T051005", u"NT10 G00 X30"}},
            {"three digits", AtX50Z5, {u"T101"}, {u"N000 T010101"}},
            {"T0 is no T word", AtX50Z5, {u"T0 X40."}, {u"N000     X40"}},
            {"T word on a line with G code and coordinates",
             AtX50Z5,
             {u"G01 X40. F0.2 T0202"},
             {u"N000 G01 X40 F0.2 T020202"}},
        },
        StandardTable());
}

TEST(TranslatorTools, ToolGroups)
{
    CheckCases(
        {
            {"a new tool", AtX50Z5, {u"T0101", u"G00 X20."}, {u"N000 TG=1 OG=1", u"NT01 G00 X20"}},
            {"another offset of the labelled tool",
             Tool1Labelled,
             {u"T0102", u"X30."},
             {u"N000 OG=2", u"N000     X30"}},
            {"offset 00", Tool1Labelled, {u"T0200"}, {u"N000 TG=2 OG=1"}},
            {"offset 99", Tool1Labelled, {u"T0199"}, {u"N000 OG=1"}},
            {"offset equal to the tool number", Tool1Labelled, {u"T0303"}, {u"N000 TG=3 OG=1"}},
            {"the label follows on the same line as the next T word",
             AtX50Z5,
             {u"T0101", u"T0102"},
             {u"N000 TG=1 OG=1", u"NT01 G00 OG=2"}},
            {"program end with tool groups",
             AtX50Z5,
             {u"M30"},
             {u"N000 M100", u"N000 TLID", u"NEND M02", u"", u"", u""}},
        },
        StandardTable(true));
}

TEST(TranslatorMCodes, Replacements)
{
    CheckCases(
        {
            {"speed before the M words", AtX50Z5, {u"M03 S500"}, {u"N000 S500 M03"}},
            {"M words in line order after T",
             AtX50Z5,
             {u"M09 T0101 M08 (TOOL)"},
             {u"N000 T010101 M09 M08( TOOL )"}},
            {"M3 and M03 are the same code", AtX50Z5, {u"M3"}, {u"N000 M03"}},
            {"program end", AtX50Z5, {u"M30"}, {u"NEND M02", u"", u"", u""}},
            {"program end under block delete", AtX50Z5, {u"/M30"}, {u"N000/M002", u""}},
            {"a row written M2", AtX50Z5, {u"M02"}, {u"NEND M02", u"", u"", u""}},
            {"program end takes the place of N000 only",
             AtX50Z5,
             {u"G01 X10. F0.2 M30"},
             {u"NEND G01 X10 F0.2 M02", u"", u"", u""}},
            {"words after the program end follow its empty lines",
             AtX50Z5,
             {u"M30 M09"},
             {u"NEND M02", u"", u"", u" M09"}},
            {"sub-program end", AtX50Z5, {u"M99"}, {u"NRTS RTS", u""}},
            {"program stop", AtX50Z5, {u"M00"}, {u"NSTP M00"}},
            {"optional stop", AtX50Z5, {u"G00 X20. M01"}, {u"NSTP     X20 M01"}},
            {"sub-program call", AtX50Z5, {u"M98 P1234"}, {u"N000 CALL O1234"}},
            {"sub-program call padded", AtX50Z5, {u"M98 P12"}, {u"N000 CALL O0012"}},
            {"spindle stop", AtX50Z5, {u"M05"}, {u"N000 M05 M63"}},
            {"spindle stop written with M63", AtX50Z5, {u"M15"}, {u"N000 M05 M63"}},
            {"rotary tool mode",
             AtX50Z5,
             {u"M45", u"M05", u"M15", u"M46", u"M05"},
             {u"N000 M110", u"N000 M12 M63", u"N000 M12 M63", u"N000 M109", u"N000 M05 M63"}},
            {"rotary tool mode at once for later M words", AtX50Z5, {u"M45 M05"}, {u"N000 M110 M12 M63"}},
            {"rotary tool speed from the next line",
             AtX50Z5,
             {u"M45 S500", u"S600"},
             {u"N000 S500 M110", u"N000 SB=600"}},
            {"ten M words",
             AtX50Z5,
             {u"M08 M08 M08 M08 M08 M08 M08 M08 M08 M08"},
             {u"N000 M08 M08 M08 M08 M08 M08 M08 M08 M08 M08"}},
        },
        StandardTable());
}

TEST(TranslatorMCodes, StopNewlineOption)
{
    TranslatorOptions check;
    check.Check1 = true;
    CheckCases(
        {
            {"optional stop", AtX50Z5, {u"M01"}, {u"NSTP M01", u""}},
            {"program stop", AtX50Z5, {u"M00", u"X40."}, {u"NSTP M00", u"", u"N000     X40"}},
            {"other M codes", AtX50Z5, {u"M08"}, {u"N000 M08"}},
        },
        StandardTable(), check);
}

// A row without a "before" names M0, and its empty replacement still writes the blank before it.
TEST(TranslatorMCodes, EmptyRowsNameM0)
{
    ConversionTable table = StandardTable();
    for (int r = 6; r <= 100; ++r) {
        table.Row(r).before.reset();
        table.Row(r).after.clear();
    }
    table.Row(6).before = u"M03"_qs;
    table.Row(6).after = u"M03"_qs;
    table.Row(8).before = u"M00"_qs;
    table.Row(8).after = u"M00"_qs;
    CheckCases({{"first empty row wins", AtX50Z5, {u"M00", u"M03"}, {u"N000 ", u"N000 M03"}}}, table);
}

TEST(TranslatorMCodes, IndexFailureStopsThePass)
{
    struct FailCase
    {
        const char *name;
        Lines lines;
        const char16_t *kept;
    } cases[] = {
        {"eleven M words",
         {u"G00 X50. Z5.", u"M08 M08 M08 M08 M08 M08 M08 M08 M08 M08 M08", u"X40."},
         u"NMAX G50 S3000\r\nN000 G00 X50 Z5\r\n"},
        {"M code the table does not name",
         {u"G00 X50. Z5.", u"G01 X40. F0.2 M77", u"X30."},
         u"NMAX G50 S3000\r\nN000 G00 X50 Z5\r\n"},
        {"LF-only line ends make one long line",
         {u"G00 X50. Z5.\nM08\nM09\nM08\nM09\nM08\nM09\nM08\nM09\nM08\nM09\nM08"},
         u""},
    };
    for (const FailCase &c : cases) {
        const TranslationResult result = TranslateProgram(Program(c.lines), StandardTable(), {});
        EXPECT_TRUE(result.failed) << c.name;
        EXPECT_EQ(result.failure, TranslationFailure::Index) << c.name;
        EXPECT_EQ(result.message.toStdString(),
                  "改行コードがLFのみかも知れません。\r\n"
                  "一旦キャンセルして[変換]→[改行コードにCR追加]を実行してみてください。")
            << c.name;
        EXPECT_EQ(result.text.toStdString(), QString::fromUtf16(c.kept).toStdString()) << c.name;
    }
}
