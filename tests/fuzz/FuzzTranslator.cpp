// Fuzzes the table file reader and the translator: a table file read from the input (or the default
// table), then a program translated under it, on its own or as the profile of a roughing cycle. No crash,
// no hang; a failure keeps a message; no line written holds an address without a value or a feed of zero,
// the lines to check are counted, and every call of a contour names one that is written, each ended once.
#include "machine/ConversionTable.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"
#include "machine/TranslatorFormat.h"
#include "nc/ProgramText.h"
#include "tests/fuzz/FuzzInput.h"

#include <QList>

namespace {

const ConversionTable &DefaultTable()
{
    static const ConversionTable table = [] {
        ConversionTable t;
        ReadTableFile(QStringLiteral(BRINDLEWICK_DATA_DIR "/") + DefaultTableFileName(), t);
        return t;
    }();
    return table;
}

bool SameTable(const ConversionTable &a, const ConversionTable &b)
{
    for (int row = 1; row <= ConversionTable::RowCount; ++row) {
        const ConversionTableRow &x = a.Row(row);
        const ConversionTableRow &y = b.Row(row);
        if (x.item != y.item || x.before != y.before || x.after != y.after)
            return false;
    }
    return true;
}

bool HoldsQuote(const ConversionTable &table)
{
    for (int row = 1; row <= ConversionTable::RowCount; ++row) {
        const ConversionTableRow &r = table.Row(row);
        if (r.item.value_or(QString()).contains(u'"') || r.before.value_or(QString()).contains(u'"') ||
            r.after.contains(u'"'))
            return true;
    }
    return false;
}

// A table that was read whole is written and read back unchanged (a field with a quote in it cannot be
// written back, since quotes are never escaped).
void CheckRoundTrip(const ConversionTable &table)
{
    QByteArray bytes;
    if (HoldsQuote(table) || !EncodeTableFile(table, bytes).ok)
        return;
    ConversionTable back;
    FuzzCheck(ReadTableFile(bytes, back).ok);
    FuzzCheck(SameTable(table, back));
}

// The table's texts are written as they stand: a replacement of its own may read as a contour's words.
bool WritesContourWords(const ConversionTable &table)
{
    for (int row = 1; row <= ConversionTable::RowCount; ++row) {
        const QString &after = table.Row(row).after;
        if (after.contains(u"G8") || after.contains(u"NL"))
            return true;
    }
    return false;
}

// The fuzzed lines as the profile of a roughing cycle, before and after the blocks that end it.
QString InCycle(const QString &lines, uint8_t choice)
{
    const QString cycle = (choice & 8) ? u"G72 W1. R0.5\r\nG72 P10 Q20 U0.2 W0.1 F0.2\r\n"_qs
                                       : u"G71 U2. R0.5\r\nG71 P10 Q20 U0.4 W0.1 F0.25\r\n"_qs;
    const QString first = (choice & 16) ? u"N10 G00 X30.\r\n"_qs : QString();
    return u"G00 X62. Z5.\r\n"_qs + cycle + first + lines + u"\r\nN20 G01 X62.\r\nG70 P10 Q20\r\nX1.\r\n"_qs;
}

// A call's contour is in the output, and each contour heading has its end.
void CheckContours(QStringView text)
{
    qsizetype headings = 0;
    qsizetype ends = 0;
    QList<QStringView> names;
    QList<QStringView> calls;
    for (const QStringView line : text.split(u"\r\n")) {
        if (line.startsWith(u"NL") && (line.endsWith(u" G81") || line.endsWith(u" G82"))) {
            ++headings;
            names.append(line.first(line.size() - 4));
        } else if (line == u"N000 G80") {
            ++ends;
        }
        // the words before any comment: a line to check, or a comment, quotes its source
        const QStringView words = line.first(line.contains(u'(') ? line.indexOf(u'(') : line.size());
        for (const QStringView call : {u" G85 NL", u" G86 NL", u" G87 NL"}) {
            const qsizetype at = words.indexOf(call);
            if (at >= 0)
                calls.append(words.sliced(at + 5).split(u' ').front());
        }
    }
    FuzzCheck(headings == ends);
    for (const QStringView call : calls)
        FuzzCheck(names.contains(call));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t choice = input.Choice();
    ConversionTable table = DefaultTable();
    if (choice & 1) {
        if (ReadTableFile(input.Part(), table).ok)
            CheckRoundTrip(table);
    }
    TranslatorOptions options;
    options.Check1 = choice & 2;
    QString program = nc::DecodeCp932(input.Rest()).text;
    if (choice & 4)
        program = InCycle(program, choice);
    const TranslationResult result = TranslateProgram(program, table, options);
    FuzzCheck(!result.failed || !result.message.isEmpty());
    // Every line written holds a value after each address, save a program number line and the header
    // (the table's text as it stands, which may run over lines); each line to check was counted.
    QString text = result.text;
    text.remove(u"NMAX G50 S"_qs + table.Row(4).after + u"\r\n"_qs);
    for (const QStringView line : QStringView(text).split(u"\r\n"))
        FuzzCheck(line.startsWith(u'O') || !translator::HoldsWordWithoutValue(line));
    FuzzCheck(result.flaggedLines <= result.text.count(u"(要確認 "_qs));
    if (!result.failed && !WritesContourWords(table))
        CheckContours(text); // the header holds the table's text as it stands
    return 0;
}
