#include "machine/TranslatorFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace translator {
namespace {

using nc::RoundedUnits;

// A word is put together here and added to the output line at once: a line has several words, and each
// addition to a text has a cost of its own.
class WordText
{
public:
    explicit WordText(QStringView address)
    {
        if (address.size() > MaxAddress)
            m_longAddress = address;
        else
            Add(address);
    }

    void AppendTo(QString &out) const
    {
        out += m_longAddress;
        out.append(reinterpret_cast<const QChar *>(m_text), m_size);
    }

    void Add(QStringView text)
    {
        std::copy(text.utf16(), text.utf16() + text.size(), m_text + m_size);
        m_size += int(text.size());
    }
    void Add(char16_t c) { m_text[m_size++] = c; }
    void AddThousandths(bool negative, std::uint64_t units)
    {
        m_size += nc::ThousandthsText(negative, units, m_text + m_size);
    }
    // At least `minDigits` digits; zero with no minimum writes nothing, as a pattern of "#" does.
    void AddDigits(std::uint64_t number, int minDigits)
    {
        int count = 0;
        for (std::uint64_t rest = number; rest > 0; rest /= 10)
            ++count;
        count = std::max(count, minDigits);
        for (int i = count - 1; i >= 0; --i, number /= 10)
            m_text[m_size + i] = char16_t(u'0' + number % 10);
        m_size += count;
    }

private:
    static constexpr int MaxAddress = 16;
    static constexpr int MaxNumber = 32; // a sign, up to twenty digits, a point and three places

    QStringView m_longAddress;
    char16_t m_text[MaxAddress + MaxNumber];
    int m_size = 0;
};

// The shortest text of a value that rounds to `units` thousandths; returns the value that text reads as.
double AddThousandths(WordText &word, bool negative, std::uint64_t units)
{
    word.AddThousandths(negative, units);
    if (units == 0)
        return 0;
    // both the text read back and this quotient are the double nearest to the same decimal
    const double magnitude = double(units) / 1000;
    return negative ? -magnitude : magnitude;
}

// The digits a pattern writes at least: those from its first "0" on.
int MinimumDigits(QStringView pattern)
{
    const qsizetype firstZero = pattern.indexOf(u'0');
    return firstZero < 0 ? 0 : int(pattern.size() - firstZero);
}

bool IsLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The length of the label that begins a line: "/"? "N" then capital letters and digits.
qsizetype LabelLength(const char16_t *line, const char16_t *end)
{
    const char16_t *p = line;
    if (p < end && *p == u'/' && p + 1 < end && p[1] == u'N')
        ++p;
    if (p == end || *p != u'N')
        return 0;
    for (++p; p < end && ((*p >= u'0' && *p <= u'9') || (*p >= u'A' && *p <= u'Z')); ++p) {
    }
    return p - line;
}

} // namespace

bool HoldsWordWithoutValue(QStringView output)
{
    const char16_t *const begin = output.utf16();
    const char16_t *const end = begin + output.size();
    const auto lineEndAt = [end](const char16_t *p) {
        return p == end || (*p == u'\r' && p + 1 < end && p[1] == u'\n');
    };
    const char16_t *p = begin;
    while (p < end) {
        p += LabelLength(p, end);
        for (; !lineEndAt(p); ++p) {
            const char16_t c = *p;
            if (c == u'(') {
                while (!lineEndAt(p + 1) && p[1] != u')')
                    ++p;
                if (!lineEndAt(p + 1))
                    ++p; // onto the ")"
                continue;
            }
            if (c < u'A' || c > u'Z' || (p > begin && IsLetter(p[-1])))
                continue;
            const char16_t *next = p + 1;
            if (lineEndAt(next) || *next == u' ' || *next == u'\t' || *next == u'(')
                return true;
            if (c == u'F' && *next == u'0') {
                const char16_t *after = next + 1;
                if (lineEndAt(after) || *after == u' ' || *after == u'(')
                    return true;
            }
        }
        p = p == end ? end : p + 2;
    }
    return false;
}

void AppendWord(QString &out, QStringView address, double &value)
{
    std::uint64_t units = 0;
    if (!RoundedUnits(value, 1000, units)) {
        out += address;
        out += nc::FormatValue3(value);
        return;
    }
    WordText word(address);
    value = AddThousandths(word, value < 0, units);
    word.AppendTo(out);
}

void AppendWord(QString &out, QStringView address, std::optional<double> &value)
{
    if (value)
        AppendWord(out, address, *value);
    else
        out += address;
}

void AppendWordOf(QString &out, QStringView address, double value)
{
    std::uint64_t units = 0;
    if (!RoundedUnits(value, 1000, units)) {
        out += address;
        out += nc::FormatValue3Of(value);
        return;
    }
    WordText word(address);
    AddThousandths(word, value < 0, units);
    word.AppendTo(out);
}

void AppendWhole(QString &out, QStringView address, double value, QStringView pattern)
{
    std::uint64_t units = 0;
    const int minDigits = MinimumDigits(pattern);
    if (!RoundedUnits(value, 1, units) || minDigits > 20) {
        out += address;
        out += nc::FormatDouble(value, pattern);
        return;
    }
    WordText word(address);
    if (value < 0 && units > 0)
        word.Add(u'-');
    word.AddDigits(units, minDigits);
    word.AppendTo(out);
}

} // namespace translator
