#include "search/CalcReplace.h"

#include "nc/NcNumber.h"
#include "nc/NcScanState.h"
#include "search/SearchRoutines.h"

#include <cfloat>
#include <cmath>

namespace {

constexpr qsizetype CalcReadLength = 10;
// Ten characters hold no number of magnitude 10^10 or more.
constexpr double LargestReadValue = 1e10;

const QString CalcTitle = QStringLiteral("計算による置換");

double Apply(CalcOperator op, double oldValue, double operand)
{
    switch (op) {
    case CalcOperator::Add:
        return oldValue + operand;
    case CalcOperator::Subtract:
        return oldValue - operand;
    case CalcOperator::Multiply:
        return oldValue * operand;
    case CalcOperator::Divide:
        return oldValue / operand;
    }
    return 0;
}

// The largest magnitude a result can reach with this operand.
double LargestResult(CalcOperator op, double operand)
{
    const double magnitude = std::fabs(operand);
    switch (op) {
    case CalcOperator::Add:
    case CalcOperator::Subtract:
        return LargestReadValue + magnitude;
    case CalcOperator::Multiply:
        return LargestReadValue * magnitude;
    case CalcOperator::Divide:
        return LargestReadValue / magnitude;
    }
    return 0;
}

QString FormatCalcValue(float value, int format)
{
    switch (format) {
    case 2:
        return nc::FormatSingle(value, u"#####0.###");
    case 3:
        return nc::FormatSingle(value, u"#####0.0##");
    case 4:
        return nc::FormatSingle(value, u"####00");
    default: {
        // The 7-digit decimal form of the single, then at most three decimals in the shortest form.
        QString text = nc::PlainTextSingle(value);
        return nc::FormatValue3(text);
    }
    }
}

} // namespace

std::optional<CalcOperator> CalcOperatorOfText(const QString &text)
{
    if (text == u"＋")
        return CalcOperator::Add;
    if (text == u"－")
        return CalcOperator::Subtract;
    if (text == u"×")
        return CalcOperator::Multiply;
    if (text == u"÷")
        return CalcOperator::Divide;
    return std::nullopt;
}

std::optional<SearchMessage> CalcOperandProblem(const CalcSettings &settings)
{
    const bool additive = settings.op == CalcOperator::Add || settings.op == CalcOperator::Subtract;
    if (additive && !nc::ReadsWhollyAsNumber(settings.operand))
        return SearchMessage{QStringLiteral("値が数値ではありません。"), CalcTitle};
    const double operand = nc::ValueOfText(settings.operand);
    if (settings.op == CalcOperator::Divide && operand == 0)
        return SearchMessage{QStringLiteral("0 で割ることはできません。"), CalcTitle};
    if (!(LargestResult(settings.op, operand) <= FLT_MAX))
        return SearchMessage{QStringLiteral("値が計算できる範囲を超えています。"), CalcTitle};
    return std::nullopt;
}

CalcNumberText ReadCalcNumber(QStringView text, qsizetype from)
{
    CalcNumberText read;
    ReadCalcNumberInto(text, from, read);
    return read;
}

void ReadCalcNumberInto(QStringView text, qsizetype from, CalcNumberText &read)
{
    read.number.resize(0);
    read.equals = false;
    read.consumed = 0;
    bool started = false;
    for (qsizetype i = 0; i < CalcReadLength; ++i) {
        const qsizetype at = from + i;
        if (at < 0 || at >= text.size())
            break;
        const QChar c = text[at];
        if (c == u' ' && !started) {
            // skipped: blanks before the number
        } else if (c == u'=') {
            read.equals = true;
        } else if (((c == u'+' || c == u'-') && read.number.isEmpty()) || c == u'.' ||
                   (c >= u'0' && c <= u'9')) {
            read.number += c;
            started = true;
        } else {
            break;
        }
        read.consumed = i + 1;
    }
}

std::optional<QString> CalcValueText(double oldValue, const CalcSettings &settings)
{
    QString text;
    if (!AppendCalcValue(text, oldValue, nc::ValueOfText(settings.operand), settings))
        return std::nullopt;
    return text;
}

bool AppendCalcValue(QString &out, double oldValue, double operand, const CalcSettings &settings)
{
    const double result = Apply(settings.op, oldValue, operand);
    if (!(std::fabs(result) <= FLT_MAX))
        return false; // converting it to single precision would be undefined
    const auto value = static_cast<float>(result);
    // The usual values of the first three formats are written from plain arithmetic where that provably
    // gives the digits of the decimal form: the shortest text, which the second format ends with a point
    // and the third with ".0" when it is a whole number. Such a text never starts with a point.
    const qsizetype from = out.size();
    if (settings.format != 4 && nc::AppendSingleThousandths(out, value)) {
        if ((settings.format == 2 || settings.format == 3) && !QStringView(out).sliced(from).contains(u'.'))
            out += settings.format == 2 ? QStringView(u".") : QStringView(u".0");
        return true;
    }
    QString text = FormatCalcValue(value, settings.format);
    if (text.startsWith(u'.'))
        text.prepend(u'0');
    else if (text.startsWith(u"-."))
        text.insert(1, u'0');
    out += text;
    return true;
}

CalcOutcome CalcReplaceValue(SearchState &state, SearchTarget &target, const CalcSettings &settings)
{
    const qsizetype start = target.SelStart();
    const qsizetype length = state.FindText.size();
    // The next search begins at the second character of this occurrence.
    state.FindStart = start + 1;
    const CalcNumberText read = ReadCalcNumber(state.WorkText, start + length);
    if (read.number.isEmpty())
        return {};
    const std::optional<QString> value = CalcValueText(nc::ValueOfText(read.number), settings);
    if (!value)
        return {};
    const QString written = state.FindText + (read.equals ? QStringLiteral("=") : QString()) + *value;
    state.WorkText = SpliceText(state.WorkText, start, length + read.consumed, written);
    target.SetText(state.WorkText);
    ++state.FindCount;
    return {true, written.size()};
}
