#include "toolpath/PathCompare.h"
#include "convert/G90G91Pass.h"
#include "convert/UnitPass.h"
#include "convert/XyCxPass.h"
#include "machine/ConversionTable.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"
#include "nc/ProgramText.h"
#include "tests/toolpath/PathDescription.h"
#include "toolpath/ToolPath.h"

#include <QFile>
#include <gtest/gtest.h>

#include <set>

using namespace toolpath;

namespace {

ConversionTable DefaultTable()
{
    ConversionTable table;
    EXPECT_TRUE(ReadTableFile(QStringLiteral(BRINDLEWICK_DATA_DIR "/") + DefaultTableFileName(), table).ok);
    return table;
}

// The segments that move the tool, without the cycle markers.
QString Motions(const ToolPath &path)
{
    ToolPath moves = path;
    std::erase_if(moves.segments, [](const Segment &s) { return s.kind == SegmentKind::Cycle; });
    return Describe(moves);
}

std::set<int> DifferingLines(const ToolPath &path, const std::vector<std::uint8_t> &differs)
{
    std::set<int> lines;
    for (std::size_t i = 0; i < differs.size(); ++i)
        if (differs[i])
            lines.insert(path.segments[i].line);
    return lines;
}

// A FANUC turning program with every kind of move the translator writes again: rapids, feeds, U/W, arcs
// by R and by K, the outer diameter cycle, a dwell and a home return.
const char16_t *const FanucProgram = u"%|O1000(TEST)|G50 S2000|G00 G40 G97 G99|T0101|G96 S180 M03|"
                                     u"G00 X62. Z5. M08|G01 X30. F0.2|Z-20. F0.15|X40. Z-30.|Z-45.|"
                                     u"G02 X50. Z-50. R5.|G01 X58.|G03 X62. Z-52. K-2.|G01 U2. W-3.|"
                                     u"G00 X100. Z5.|G90 X50. Z-30. F0.2|X45.|G00 X100.|G04 U1.5|"
                                     u"G28 U0. W0.|M30|%";

} // namespace

// The OSP program the translator writes moves the tool exactly as its FANUC source does: R becomes L,
// U and W become positions, the cycle four lines, the home return the table's home position.
TEST(PathCompare, TranslatorOutputFollowsItsSourcePath)
{
    const ConversionTable table = DefaultTable();
    PathOptions options;
    options.home = PositionOfWords(table.Row(5).after);
    ASSERT_TRUE(options.home);
    EXPECT_EQ(*options.home, (Point3{800, 0, 400}));

    const QString source = Program(FanucProgram);
    const TranslationResult translated = TranslateProgram(source, table, TranslatorOptions());
    ASSERT_FALSE(translated.failed) << translated.message.toStdString();
    const ToolPath fanuc = WalkToolPath(source, options);
    const ToolPath osp = WalkToolPath(translated.text, options);
    EXPECT_EQ(fanuc.dialect, Dialect::Fanuc);
    EXPECT_EQ(osp.dialect, Dialect::Osp);
    EXPECT_EQ(fanuc.problems.Total() + osp.problems.Total(), 0);
    EXPECT_EQ(Motions(osp), Motions(fanuc));
    EXPECT_EQ(Motions(fanuc),
              u"F 31,5>15,5; F 15,5>15,-20; F 15,-20>20,-30; F 20,-30>20,-45; C 20,-45>25,-50@25,-45; "
              u"F 25,-50>29,-50; A 29,-50>31,-52@29,-52; F 31,-52>32,-55; R 32,-55>50,5; "
              u"R 50,5>25,5; F 25,5>25,-30; F 25,-30>50,-30; R 50,-30>50,5; "
              u"R 50,5>22.5,5; F 22.5,5>22.5,-30; F 22.5,-30>50,-30; R 50,-30>50,5; R 50,5>400,400");

    const PathComparison same = ComparePaths(fanuc, osp);
    EXPECT_EQ(same.resultScale, 1);
    EXPECT_EQ(same.sourcePlaces, 0);
    EXPECT_EQ(same.resultPlaces, 0);
}

// The example program's roughing cycle becomes a LAP call over its profile: the same levels, cuts and last
// pass. The two controls differ only in the moves between cuts, FANUC retracting by its R0.5 and OSP by its
// relief of 0.1 mm, and in the way back to the start point (OSP moves Z first): the comparison points at
// the cycle's block alone, on either side, once for each way back.
TEST(PathCompare, FindsWhereTheTranslationMovesElsewhere)
{
    QFile file(QStringLiteral(BRINDLEWICK_DATA_DIR "/example.nc"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString source = nc::DecodeCp932(file.readAll()).text;
    const ConversionTable table = DefaultTable();
    const TranslationResult translated = TranslateProgram(source, table, TranslatorOptions());
    ASSERT_FALSE(translated.failed);
    PathOptions options;
    options.home = PositionOfWords(table.Row(5).after);
    const ToolPath fanuc = WalkToolPath(source, options);
    const ToolPath osp = WalkToolPath(translated.text, options);
    const PathComparison comparison = ComparePaths(fanuc, osp);
    EXPECT_EQ(DifferingLines(fanuc, comparison.sourceDiffers), (std::set<int>{9}));
    EXPECT_EQ(DifferingLines(osp, comparison.resultDiffers), (std::set<int>{8}));
    // seven levels (Ø58 to Ø34) and the return after the last pass
    EXPECT_EQ(comparison.sourcePlaces, 8);
    EXPECT_EQ(comparison.resultPlaces, 8);
}

// The conversions that keep the tool where it was: their results draw the source's path.
TEST(PathCompare, ConversionsThatKeepThePath)
{
    const QString mill = Program(u"G00 X0 Y0 Z5.|G01 Z-1. F100|X10. Y5.|G02 X15. Y10. R5.|G03 X25. Y20. I10.|"
                                 u"G01 X-10. Y-20.|G00 Z5.");
    const QString lathe = Program(FanucProgram);
    G90G91Options incremental;
    incremental.StartXText = incremental.StartYText = incremental.StartZText = u"0"_qs;
    struct Case
    {
        const char *name;
        QString source;
        QString result;
        double scale;
    } cases[] = {
        {"xy to cx", mill, ConvertXyCx(mill, XyCxDirection::ToCx), 1},
        {"absolute to incremental", mill, ConvertG90G91(mill, incremental), 1},
        {"inch to mm", lathe, ConvertUnit(lathe, UnitOption::InchToMm), 1 / 25.4},
        {"mm to thousandths", mill, ConvertUnit(mill, UnitOption::MmToUm), 0.001},
    };
    for (const Case &c : cases) {
        const ToolPath source = WalkToolPath(c.source);
        const ToolPath result = WalkToolPath(c.result);
        const PathComparison comparison = ComparePaths(source, result);
        EXPECT_DOUBLE_EQ(comparison.resultScale, c.scale) << c.name;
        EXPECT_EQ(comparison.sourcePlaces, 0) << c.name << "\n"
                                              << Describe(source).toStdString() << "\n"
                                              << Describe(result).toStdString();
        EXPECT_EQ(comparison.resultPlaces, 0) << c.name;
    }
}

// Each kind of change is found, in both paths, at its line.
TEST(PathCompare, MarksEachChangedMove)
{
    QString base = u"G00 X0 Z5.|G01 Z-10. F0.1|X20.|Z-20.|X40.|G00 Z5."_qs;
    struct Case
    {
        const char16_t *result;
        std::set<int> sourceLines;
        std::set<int> resultLines;
    } cases[] = {
        {u"G00 X0 Z5.|G01 Z-10. F0.1|X20.|Z-20.|X40.|G00 Z5.", {}, {}},
        // a feed became a rapid
        {u"G00 X0 Z5.|G01 Z-10. F0.1|G00 X20.|G01 Z-20.|X40.|G00 Z5.", {2}, {2}},
        // a position moved by a tenth along the move: the source's move lies on the longer one
        {u"G00 X0 Z5.|G01 Z-10. F0.1|X20.|Z-20.1|X40.|G00 Z5.", {4}, {3, 4, 5}},
        // a move split in two is the same path
        {u"G00 X0 Z5.|G01 Z-5. F0.1|Z-10.|X20.|Z-20.|X40.|G00 Z5.", {}, {}},
        // a move left out
        {u"G00 X0 Z5.|G01 Z-10. F0.1|Z-20.|X40.|G00 Z5.", {2, 3}, {2, 3}},
        // an arc for a corner
        {u"G00 X0 Z5.|G01 Z-10. F0.1|G02 X20. Z-20. R10.|G01 X40.|G00 Z5.", {2, 3}, {2}},
    };
    const ToolPath source = WalkToolPath(base.replace(u'|', QStringLiteral("\r\n")));
    for (const Case &c : cases) {
        const ToolPath result = WalkToolPath(Program(c.result));
        const PathComparison comparison = ComparePaths(source, result);
        EXPECT_EQ(DifferingLines(source, comparison.sourceDiffers), c.sourceLines)
            << QString::fromUtf16(c.result).toStdString();
        EXPECT_EQ(DifferingLines(result, comparison.resultDiffers), c.resultLines)
            << QString::fromUtf16(c.result).toStdString();
    }
}

// A path compared with itself differs nowhere, also where like moves repeat so often that a move's
// samples are found on an earlier copy far back, and where cycle markers crowd one end of the program.
TEST(PathCompare, PathEqualsItself)
{
    const auto repeated = [](const QString &line, int times) { return QStringList(times, line).join(u'|'); };
    const QString markers = repeated(u"G81 X-1. Y0 Z-1. R1. F100"_qs, 200);
    const QString programs[] = {
        // one move, then forty times along half of it and back, then one beyond it; drilling cycles after
        u"G00 X0 Y0 Z0|G01 X5. F100|"_qs + repeated(u"X10.|X5."_qs, 40) + u"|X10.|X-1.|"_qs + markers,
        u"G00 X0 Z0|G01 X5. F0.2|"_qs + repeated(u"X10.|X5."_qs, 40) + u"|X10.|X-1.|"_qs +
            repeated(u"G90 X0 Z-1. F0.2"_qs, 100),
        u"G00 X60. Z2.|"_qs + repeated(u"G90 X50. Z-20. F0.2|X20.|G00 X60. Z2."_qs, 30) +
            u"|G01 X-4. F0.2"_qs,
        u"G19 G00 X9. Y0 Z0|G02 X2. J2.|G17 G00 X0 Y10. Z0|G02 X0 Y10. Z-5. J-10."_qs,
    };
    for (QString program : programs) {
        const ToolPath path = WalkToolPath(program.replace(u'|', QStringLiteral("\r\n")));
        ASSERT_GT(path.segments.size(), 2u) << program.toStdString();
        const PathComparison comparison = ComparePaths(path, path);
        EXPECT_EQ(comparison.sourcePlaces, 0) << program.left(200).toStdString();
        EXPECT_EQ(comparison.resultPlaces, 0) << program.left(200).toStdString();
    }
}
