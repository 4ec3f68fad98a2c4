// Fuzzes the number texts, the formats and the three scanner routines: no crash, no hang, and the
// formats' results are always number texts whose value is the rounded input.
#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckFormats(const QString &text)
{
    static const QStringView patterns[] = {u"##00",       u"####00",      u"#####0.###", u"#####0.####",
                                           u"#####0.0##", u"#####0.0###", u"0#",         u"000#",
                                           u"#####",      u"000000"};
    for (QStringView pattern : patterns)
        (void)nc::FormatText(text, pattern);
    QString three = text;
    QString four = text;
    const QString formatted3 = nc::FormatValue3(three);
    const QString formatted4 = nc::FormatValue4(four);
    if (nc::ReadsWhollyAsNumber(text)) {
        const double value = nc::ValueOfText(text);
        if (std::isfinite(value) && std::fabs(value) < 1e12) {
            Check(nc::ReadsWhollyAsNumber(formatted3));
            Check(std::fabs(nc::ValueOfText(formatted3) - value) <= 0.0005 + std::fabs(value) * 1e-14);
            Check(std::fabs(nc::ValueOfText(formatted4) - value) <= 0.00005 + std::fabs(value) * 1e-14);
        }
    }
}

void ScanEveryPosition(const QString &line)
{
    NcScanState scan;
    scan.Line = line;
    scan.LineLength = line.size();
    for (qsizetype start = 0; start <= line.size() && start < 64; ++start) {
        for (int routine = 0; routine < 3; ++routine) {
            scan.Pos = start;
            if (routine == 0)
                scan.ReadNumber();
            else if (routine == 1)
                scan.ReadWordValue();
            else
                scan.ReadExpression();
            Check(scan.Pos >= start && scan.Pos <= scan.LineLength);
            if (routine == 2 && !scan.Token.isEmpty())
                (void)nc::ValueOfText(scan.Token);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)nc::ValueOfText(text);
    (void)nc::PlainText(nc::ValueOfText(text));
    (void)nc::PlainTextSingle(float(nc::ValueOfText(text)));
    CheckFormats(text);
    ScanEveryPosition(text);
    return 0;
}
