#include "compare/LineDiff.h"
#include "convert/SpacePass.h"
#include "convert/UnitPass.h"
#include "machine/ConversionTable.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"
#include "tests/compare/DiffInvariants.h"

#include <gtest/gtest.h>
#include <string_view>

namespace {

using namespace std::literals;
using compare::DiffLines;
using compare::LineDiff;
using compare::LineState;

// The rows of a diff in order: "=" kept, "~" changed, "-" deleted, "+" inserted.
std::string Rows(const LineDiff &diff)
{
    std::string rows;
    size_t a = 0;
    size_t b = 0;
    while (a < diff.sourceStates.size() || b < diff.resultStates.size()) {
        if (a < diff.sourceStates.size() && diff.sourceStates[a] == LineState::Deleted) {
            rows += '-';
            ++a;
        } else if (b < diff.resultStates.size() && diff.resultStates[b] == LineState::Inserted) {
            rows += '+';
            ++b;
        } else {
            rows += diff.sourceStates[a] == LineState::Kept ? '=' : '~';
            ++a;
            ++b;
        }
    }
    return rows;
}

TEST(LineDiff, CutsLinesOnlyAtCrLf)
{
    const struct
    {
        const char16_t *text;
        std::vector<std::pair<qsizetype, qsizetype>> lines;
    } cases[] = {
        {u"", {{0, 0}}},
        {u"G01", {{0, 3}}},
        {u"A\r\nB", {{0, 1}, {3, 1}}},
        {u"A\r\n", {{0, 1}, {3, 0}}},
        {u"A\rB\nC", {{0, 5}}},
        {u"A\n\r\nB\r", {{0, 2}, {4, 2}}},
        {u"\r\n\r\n", {{0, 0}, {2, 0}, {4, 0}}},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const auto lines = compare::CutLines(text);
        ASSERT_EQ(lines.size(), c.lines.size()) << text.toStdString();
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].start, c.lines[i].first) << text.toStdString() << " line " << i;
            EXPECT_EQ(lines[i].length, c.lines[i].second) << text.toStdString() << " line " << i;
        }
    }
}

TEST(LineDiff, MatchesLinesAndPairsTheRestInOrder)
{
    const struct
    {
        const char *name;
        std::u16string_view source;
        std::u16string_view result;
        const char *rows;
        int hunks;
    } cases[] = {
        {"both empty", u"", u"", "=", 0},
        {"empty source", u"", u"G00\r\nX1.", "~+", 1},
        {"empty result", u"G00\r\nX1.\r\nM30", u"", "~--", 1},
        {"identical", u"%\r\nG00 X1.\r\nM30\r\n%", u"%\r\nG00 X1.\r\nM30\r\n%", "====", 0},
        {"all changed", u"X1.\r\nX2.\r\nX3.", u"X0.001\r\nX0.002\r\nX0.003", "~~~", 1},
        {"inserted at the start", u"B\r\nC", u"A0\r\nA1\r\nB\r\nC", "++==", 1},
        {"inserted at the end", u"B\r\nC", u"B\r\nC\r\nD", "==+", 1},
        {"a CR LF added at the end", u"B\r\nC", u"B\r\nC\r\n", "==+", 1},
        {"deleted in the middle", u"A\r\nB\r\nC\r\nD", u"A\r\nD", "=--=", 1},
        {"two hunks", u"A\r\nB\r\nC\r\nD\r\nE", u"A\r\nb\r\nC\r\nD\r\nE\r\nF",
         "=~=="
         "=+",
         2},
        {"changed, then lines inserted", u"A\r\nB\r\nZ", u"A\r\nb\r\nb2\r\nb3\r\nZ", "=~++=", 1},
        {"a moved line", u"A\r\nB\r\nC", u"B\r\nC\r\nA", "-==+", 2},
        // a lone CR or LF is inside its line: no line starts there
        {"lone CR and LF", u"A\rB\r\nC", u"A\rB\r\nC\nD", "=~", 1},
        {"no line end at all", u"G01X1.Y2.", u"G01 X1. Y2.", "~", 1},
        {"LF only line ends", u"A\nB\nC", u"A\nB\nC", "=", 0},
        {"NUL characters", u"A\0B\r\nC"sv, u"A\r\nC", "~=", 1},
        {"repeated lines", u"X\r\nX\r\nX", u"X\r\nX\r\nX\r\nX", "===+", 1},
    };
    for (const auto &c : cases) {
        const QString source = QStringView(c.source).toString();
        const QString result = QStringView(c.result).toString();
        const LineDiff diff = DiffLines(source, result);
        EXPECT_EQ(compare_test::DiffProblem(source, result, diff), QString()) << c.name;
        EXPECT_EQ(Rows(diff), c.rows) << c.name;
        EXPECT_EQ(int(diff.hunks.size()), c.hunks) << c.name;
        EXPECT_FALSE(diff.coarse) << c.name;
    }
}

TEST(LineDiff, HunksGiveBothSidesOfEachChange)
{
    const LineDiff diff = DiffLines(u"A\r\nB\r\nC\r\nD\r\nE", u"A\r\nx\r\ny\r\nC\r\nE");
    ASSERT_EQ(diff.hunks.size(), 2u);
    EXPECT_EQ(diff.hunks[0].sourceFirst, 1);
    EXPECT_EQ(diff.hunks[0].sourceCount, 1);
    EXPECT_EQ(diff.hunks[0].resultFirst, 1);
    EXPECT_EQ(diff.hunks[0].resultCount, 2);
    // a deletion is placed before the result line that follows it
    EXPECT_EQ(diff.hunks[1].sourceFirst, 3);
    EXPECT_EQ(diff.hunks[1].sourceCount, 1);
    EXPECT_EQ(diff.hunks[1].resultFirst, 4);
    EXPECT_EQ(diff.hunks[1].resultCount, 0);
    EXPECT_EQ(diff.changedLines, 3);
    EXPECT_EQ(diff.resultOfSource, (std::vector<int>{0, 1, 3, compare::NoLine, 4}));
    EXPECT_EQ(diff.sourceOfResult, (std::vector<int>{0, 1, compare::NoLine, 2, 4}));
}

// The fewest changes: a kept line found far from where in-order pairing would put it.
TEST(LineDiff, FindsTheFewestChanges)
{
    QString source;
    QString result;
    for (int i = 0; i < 200; ++i) {
        source += QStringLiteral("N%1\r\n").arg(i);
        if (i % 7 == 3)
            result += QStringLiteral("(INSERTED %1)\r\n(MORE)\r\n").arg(i);
        if (i % 11 != 5)
            result += QStringLiteral("N%1\r\n").arg(i);
    }
    const LineDiff diff = DiffLines(source, result);
    EXPECT_EQ(compare_test::DiffProblem(source, result, diff), QString());
    EXPECT_FALSE(diff.coarse);
    const int deleted =
        int(std::count(diff.sourceStates.begin(), diff.sourceStates.end(), LineState::Deleted));
    const int inserted =
        int(std::count(diff.resultStates.begin(), diff.resultStates.end(), LineState::Inserted));
    const int changed =
        int(std::count(diff.sourceStates.begin(), diff.sourceStates.end(), LineState::Changed));
    // 18 lines left out (i = 5, 16, ... 192), 29 places with two lines put in (i = 3, 10, ... 199)
    EXPECT_EQ(deleted + changed, 18);
    EXPECT_EQ(inserted + changed, 58);
}

// Past its budget the search pairs the lines not yet matched in order; equal lines so paired stay kept.
TEST(LineDiff, FallsBackToPairingInOrder)
{
    compare::DiffLimits tight;
    tight.searchBudget = 0;
    const struct
    {
        const char16_t *source;
        const char16_t *result;
        const char *rows;
    } cases[] = {
        {u"A\r\nB\r\nC\r\nD", u"a\r\nB\r\nc\r\nD", "~=~="},
        {u"%\r\nA\r\nB\r\n%", u"%\r\na\r\nb\r\nc\r\nd\r\n%", "=~~++="},
        {u"%\r\nA\r\nB\r\nC\r\n%", u"%\r\nb\r\n%", "=~--="},
    };
    for (const auto &c : cases) {
        const QString source = QString::fromUtf16(c.source);
        const QString result = QString::fromUtf16(c.result);
        const LineDiff diff = DiffLines(source, result, tight);
        EXPECT_EQ(compare_test::DiffProblem(source, result, diff), QString()) << c.rows;
        EXPECT_EQ(Rows(diff), c.rows);
        EXPECT_TRUE(diff.coarse);
    }
}

// Bad input stays cheap: a text with no line end at all (or with LF alone) is one line, compared whole.
TEST(LineDiff, TakesHugeLinesWhole)
{
    QString source;
    for (int i = 0; i < 100000; ++i)
        source += QStringLiteral("G01 X%1.\n").arg(i);
    QString result = source;
    result.replace(QStringLiteral("X500."), QStringLiteral("X0.5"));
    const struct
    {
        const char *name;
        QString source;
        QString result;
        const char *rows;
    } cases[] = {
        {"one huge line changed", source, result, "~"},
        {"one huge line kept", source, source, "="},
        {"a huge line among short ones", QStringLiteral("%\r\n") + source + QStringLiteral("\r\n%"),
         QStringLiteral("%\r\n") + result + QStringLiteral("\r\nM30\r\n%"), "=~+="},
    };
    for (const auto &c : cases) {
        const LineDiff diff = DiffLines(c.source, c.result);
        EXPECT_EQ(compare_test::DiffProblem(c.source, c.result, diff), QString()) << c.name;
        EXPECT_EQ(Rows(diff), c.rows) << c.name;
    }
}

QString Program(std::initializer_list<const char16_t *> lines)
{
    QString text;
    for (const char16_t *line : lines)
        text += QString::fromUtf16(line) + QStringLiteral("\r\n");
    return text;
}

// The conversions' own results: a unit change alters every line with a length, a blank removal every line
// with a blank, the translator writes several lines for some source lines.
TEST(LineDiff, FollowsTheConversionsResults)
{
    const QString source = Program({u"%", u"O1000(TEST)", u"G50 S2000", u"G00 G40 G97 G99", u"T0101",
                                    u"G96 S180 M03", u"G00 X62. Z5. M08", u"G01 Z-20. F0.15", u"X40. Z-30.",
                                    u"G02 X50. Z-50. R5.", u"G00 X200. Z150. M09", u"M05", u"M30", u"%"});
    const QString unit = ConvertUnit(source, UnitOption::MmToUm);
    const QString blanks = ConvertSpace(source, SpaceMode::RemoveBlanks);
    ConversionTable table;
    ASSERT_TRUE(ReadTableFile(QStringLiteral(BRINDLEWICK_DATA_DIR "/オークマ 旋盤 FANUC-OSP.csv"), table).ok);
    const TranslationResult translated = TranslateProgram(source, table, TranslatorOptions{});
    ASSERT_FALSE(translated.failed) << translated.message.toStdString();

    for (const QString &result : {unit, blanks, translated.text}) {
        const LineDiff diff = DiffLines(source, result);
        EXPECT_EQ(compare_test::DiffProblem(source, result, diff), QString()) << result.toStdString();
        EXPECT_FALSE(diff.coarse);
        // every result line is the source line it is paired with, or differs from it, or is new
        for (size_t b = 0; b < diff.resultLines.size(); ++b) {
            const auto &r = diff.resultLines[b];
            const QStringView line = QStringView(result).mid(r.start, r.length);
            if (line == u"%") {
                EXPECT_EQ(diff.resultStates[b], LineState::Kept) << result.toStdString();
            }
        }
    }
    const LineDiff unitDiff = DiffLines(source, unit);
    EXPECT_EQ(Rows(unitDiff), "======~~~~~====");
    const LineDiff blankDiff = DiffLines(source, blanks);
    EXPECT_EQ(Rows(blankDiff), "==~~=~~~~~~====");
    // The translator drops "%", writes a header line before the first block and a line of its own after
    // it, and a blank line or more at the end: each line still stands beside the one it came from.
    const LineDiff translatorDiff = DiffLines(source, translated.text);
    EXPECT_EQ(Rows(translatorDiff), "-~~+~~~~~~~~~~~++=");
    const auto pairedWith = [&](const char16_t *sourceLine) {
        const auto lines = compare::CutLines(source);
        for (size_t a = 0; a < lines.size(); ++a) {
            if (QStringView(source).mid(lines[a].start, lines[a].length) != QStringView(sourceLine))
                continue;
            const int b = translatorDiff.resultOfSource[a];
            if (b == compare::NoLine)
                return QStringLiteral("<deleted>");
            const auto &r = translatorDiff.resultLines[size_t(b)];
            return translated.text.mid(r.start, r.length);
        }
        return QStringLiteral("<no such line>");
    };
    EXPECT_EQ(pairedWith(u"O1000(TEST)"), QStringLiteral("O1000"));
    EXPECT_EQ(pairedWith(u"G96 S180 M03"), QStringLiteral("NT01 G00 G96 S180 M03"));
    EXPECT_EQ(pairedWith(u"G02 X50. Z-50. R5."), QStringLiteral("N000 G02 X50 Z-50 L5"));
    EXPECT_EQ(pairedWith(u"M30"), QStringLiteral("NEND M02"));
}

} // namespace
