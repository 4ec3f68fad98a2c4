#pragma once

#include "machine/ConversionTable.h"
#include "machine/Translator.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace translator_test {

constexpr const char16_t *HomeText = u"X500 Z400";

// A FANUC -> OSP table with six-digit T numbers, maximum speed 3000, and the M-code rows the tests use.
// Rows from 20 on are left empty: their M number is 0.
inline ConversionTable StandardTable(bool toolGroups = false)
{
    ConversionTable table;
    table.Row(1).item = u"機種"_qs;
    table.Row(2).before = u"FANUC旋盤"_qs;
    table.Row(2).after = u"OSP旋盤"_qs;
    table.Row(3).after = toolGroups ? u"ON"_qs : u"OFF"_qs;
    table.Row(4).after = u"3000"_qs;
    table.Row(5).after = QString::fromUtf16(HomeText);
    const char16_t *rows[][2] = {
        {u"M03", u"M03"},  {u"M04", u"M04"},  {u"M05", u"M05"},     {u"M08", u"M08"}, {u"M09", u"M09"},
        {u"M30", u"M02"},  {u"M99", u"RTS"},  {u"M00", u"M00"},     {u"M01", u"M01"}, {u"M98", u"CALL"},
        {u"M45", u"M110"}, {u"M46", u"M109"}, {u"M15", u"M05 M63"}, {u"M2", u"M02"},
    };
    int r = 6;
    for (const auto &row : rows) {
        table.Row(r).before = QString::fromUtf16(row[0]);
        table.Row(r).after = QString::fromUtf16(row[1]);
        ++r;
    }
    return table;
}

using Lines = std::vector<const char16_t *>;

inline QString Program(const Lines &lines)
{
    QString text;
    for (const char16_t *line : lines)
        text += QString::fromUtf16(line) + u"\r\n"_qs;
    return text;
}

// One case: the lines that set the scene (their output is not checked), the lines under test and the
// output expected from them, line by line.
struct Case
{
    const char *name;
    Lines setup;
    Lines lines;
    Lines expected;
};

// Translates setup + lines and returns what the lines under test added after the setup's own output.
inline QString OutputAfterSetup(const Case &c, const ConversionTable &table, const TranslatorOptions &options,
                                TranslationResult *full = nullptr)
{
    // An empty program is one empty line to the translator, so a case without setup has nothing before.
    const TranslationResult before =
        c.setup.empty() ? TranslationResult() : TranslateProgram(Program(c.setup), table, options);
    Lines all = c.setup;
    all.insert(all.end(), c.lines.begin(), c.lines.end());
    TranslationResult result = TranslateProgram(Program(all), table, options);
    EXPECT_FALSE(before.failed) << c.name;
    EXPECT_TRUE(result.text.startsWith(before.text)) << c.name;
    const QString added = result.text.mid(before.text.size());
    if (full)
        *full = std::move(result);
    return added;
}

inline void CheckCases(const std::vector<Case> &cases, const ConversionTable &table,
                       const TranslatorOptions &options = {})
{
    for (const Case &c : cases) {
        TranslationResult result;
        const QString added = OutputAfterSetup(c, table, options, &result);
        EXPECT_FALSE(result.failed) << c.name << ": " << result.message.toStdString();
        EXPECT_EQ(added.toStdString(), Program(c.expected).toStdString()) << c.name;
        // no source line of the cases is itself a comment of that text
        EXPECT_EQ(result.flaggedLines, result.text.count(u"(要確認 "_qs)) << c.name;
    }
}

} // namespace translator_test
