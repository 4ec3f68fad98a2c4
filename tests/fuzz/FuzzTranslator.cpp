// Fuzzes the FANUC-to-OSP translator over any program text, in both tool modes and with either stop
// option: no crash, no hang, a failure always has its message, and the same program gives the same text.
#include "machine/ConversionTable.h"
#include "machine/Translator.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

ConversionTable MakeTable(bool toolGroups)
{
    ConversionTable table;
    table.Row(2).before = QStringLiteral("FANUC");
    table.Row(2).after = QStringLiteral("OSP");
    table.Row(3).after = toolGroups ? QStringLiteral("ON") : QStringLiteral("OFF");
    table.Row(4).after = QStringLiteral("3000");
    table.Row(5).after = QStringLiteral("X500 Z400");
    const char *rows[][2] = {{"M03", "M03"},  {"M05", "M05"},  {"M08", "M08"},    {"M30", "M02"},
                             {"M99", "RTS"},  {"M00", "M00"},  {"M01", "M01"},    {"M98", "CALL"},
                             {"M45", "M110"}, {"M46", "M109"}, {"M15", "M05 M63"}};
    int r = 6;
    for (const auto &row : rows) {
        table.Row(r).before = QString::fromLatin1(row[0]);
        table.Row(r).after = QString::fromLatin1(row[1]);
        ++r;
    }
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the table and the option; the rest is the program.
    const bool toolGroups = data[0] & 1;
    TranslatorOptions options;
    options.Check1 = data[0] & 2;
    const QString program =
        QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const ConversionTable table = MakeTable(toolGroups);
    const TranslationResult first = TranslateProgram(program, table, options);
    Check(first.failed == (first.failure != TranslationFailure::None));
    Check(!first.failed || !first.message.isEmpty());
    const TranslationResult second = TranslateProgram(program, table, options);
    Check(second.text == first.text && second.failed == first.failed);
    return 0;
}
