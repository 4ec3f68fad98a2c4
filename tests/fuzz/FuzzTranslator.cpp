// Fuzzes the table file reader and the translator: a table file read from the input (or the default
// table), then a program translated under it. No crash, no hang; a failure keeps a message; no line
// written holds an address without a value or a feed of zero, and the lines to check are counted.
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
    const TranslationResult result = TranslateProgram(nc::DecodeCp932(input.Rest()).text, table, options);
    FuzzCheck(!result.failed || !result.message.isEmpty());
    // Every line written holds a value after each address, save a program number line and the header
    // (the table's text as it stands, which may run over lines); each line to check was counted.
    QString text = result.text;
    text.remove(u"NMAX G50 S"_qs + table.Row(4).after + u"\r\n"_qs);
    for (const QStringView line : QStringView(text).split(u"\r\n"))
        FuzzCheck(line.startsWith(u'O') || !translator::HoldsWordWithoutValue(line));
    FuzzCheck(result.flaggedLines <= result.text.count(u"(要確認 "_qs));
    return 0;
}
