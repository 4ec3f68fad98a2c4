#include "machine/TranslatorFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

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

// After the label that begins a line: "/"? "N" then capital letters and digits; the line itself when it
// has none.
const char16_t *AfterLabel(const char16_t *line, const char16_t *end)
{
    const char16_t *p = line;
    if (p + 1 < end && p[0] == u'/' && p[1] == u'N')
        ++p;
    if (p == end || *p != u'N')
        return line;
    for (++p; p < end && ((*p >= u'0' && *p <= u'9') || (*p >= u'A' && *p <= u'Z')); ++p) {
    }
    return p;
}

// A blank, "(" or the line end at `p`.
bool EndsWord(const char16_t *p, const char16_t *end)
{
    return p == end || *p == u' ' || *p == u'(' || (*p == u'\r' && p + 1 < end && p[1] == u'\n');
}

// An address without a value, or a feed of zero, at the capital letter `p`.
bool WordWithoutValueAt(const char16_t *p, const char16_t *begin, const char16_t *end)
{
    if (p > begin && IsLetter(p[-1]))
        return false;
    const char16_t *next = p + 1;
    if (EndsWord(next, end) || *next == u'\t')
        return true;
    return *p == u'F' && *next == u'0' && EndsWord(next + 1, end);
}

// Whether the text may hold an address without a value or a feed of zero: a capital letter, or "F0",
// before a character no greater than "(" (a blank, a tab, "(", a CR, and a few that output hardly holds)
// or the end of the text. Eight characters at a time, the last block reaching back over the one before;
// every text that holds either is found, and a text that merely may (a run of letters before a blank, a
// word in a comment) is then looked at character by character.
bool MayHoldWordWithoutValue(const char16_t *begin, const char16_t *end)
{
    using Lanes = std::uint16_t __attribute__((vector_size(16)));
    constexpr qsizetype Width = sizeof(Lanes) / sizeof(char16_t);
    const auto load = [](const char16_t *p) {
        Lanes lanes;
        std::memcpy(&lanes, p, sizeof lanes);
        return lanes;
    };
    const auto endsWord = [](char16_t c) { return c <= u'('; };
    const auto capital = [](char16_t c) { return c >= u'A' && c <= u'Z'; };
    const qsizetype size = end - begin;
    if (size < Width + 2) {
        for (const char16_t *p = begin; p < end; ++p) {
            if (capital(*p) && (p + 1 == end || endsWord(p[1])))
                return true;
            if (*p == u'F' && p + 1 < end && p[1] == u'0' && (p + 2 == end || endsWord(p[2])))
                return true;
        }
        return false;
    }
    // the last two characters, whose next characters the blocks do not reach
    if (capital(end[-1]) || (capital(end[-2]) && endsWord(end[-1])) || (end[-2] == u'F' && end[-1] == u'0'))
        return true;
    // every operation between two vectors: a scalar operand is spread over the lanes first
    const auto spread = [](char16_t c) { return Lanes{c, c, c, c, c, c, c, c}; };
    const Lanes capitalA = spread(u'A');
    const Lanes capitals = spread(u'Z' - u'A');
    const Lanes bracket = spread(u'(');
    const Lanes feed = spread(u'F');
    const Lanes zero = spread(u'0');
    const char16_t *const last = end - (Width + 2);
    for (const char16_t *p = begin;; p += Width) {
        if (p > last)
            p = last;
        const Lanes c = load(p);
        const Lanes next = load(p + 1);
        const auto found = ((c - capitalA <= capitals) & (next <= bracket)) |
                           ((c == feed) & (next == zero) & (load(p + 2) <= bracket));
        std::uint64_t halves[2];
        std::memcpy(halves, &found, sizeof halves);
        if ((halves[0] | halves[1]) != 0)
            return true;
        if (p == last)
            return false;
    }
}

} // namespace

// Most output holds nothing of the kind, and is passed over eight characters at a time.
bool HoldsWordWithoutValue(QStringView output)
{
    const char16_t *const begin = output.utf16();
    const char16_t *const end = begin + output.size();
    if (!MayHoldWordWithoutValue(begin, end))
        return false;
    for (const char16_t *p = AfterLabel(begin, end); p < end; ++p) {
        const char16_t c = *p;
        if (unsigned(c - u'A') <= unsigned(u'Z' - u'A')) {
            if (WordWithoutValueAt(p, begin, end))
                return true;
        } else if (c > u'(') {
            continue;
        } else if (c == u'(') {
            // to the ")" or the line end, whichever comes first
            while (p + 1 < end && p[1] != u')' && !(p[1] == u'\r' && p + 2 < end && p[2] == u'\n'))
                ++p;
            if (p + 1 < end && p[1] == u')')
                ++p;
        } else if (c == u'\r' && p + 1 < end && p[1] == u'\n') {
            p = AfterLabel(p + 2, end) - 1;
        }
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
