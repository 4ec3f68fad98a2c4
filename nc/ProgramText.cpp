#include "nc/ProgramText.h"

#include "nc/LargeText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace nc {
namespace {

constexpr const char *Cp932 = "windows-31j";

// Programs are ASCII but for their comments. ASCII is copied sixteen characters at a time (eight bytes or
// four characters where the processor has no vector instructions) while none of them has a high bit set.
constexpr std::uint64_t HighBits8 = 0x8080808080808080ull;
constexpr std::uint64_t HighBits16 = 0xFF80FF80FF80FF80ull;

// Widens the ASCII bytes from `in` on; returns how many there were.
qsizetype WidenAscii(const unsigned char *in, qsizetype size, char16_t *out)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        if (_mm_movemask_epi8(bytes) != 0) // a byte with its high bit set
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        if (word & HighBits8)
            break;
        for (int k = 0; k < 8; ++k)
            out[i + k] = in[i + k];
    }
    for (; i < size && in[i] < 0x80; ++i)
        out[i] = in[i];
    return i;
}

// Narrows the ASCII characters from `in` on; returns how many there were.
qsizetype NarrowAscii(const char16_t *in, qsizetype size, char *out)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    for (; i + 16 <= size; i += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i + 8));
        const __m128i outside = _mm_and_si128(_mm_or_si128(first, second), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(outside, _mm_setzero_si128())) != 0xFFFF)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(first, second));
    }
#endif
    for (; i + 4 <= size; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        if (word & HighBits16)
            break;
        for (int k = 0; k < 4; ++k)
            out[i + k] = char(in[i + k]);
    }
    for (; i < size && in[i] < 0x80; ++i)
        out[i] = char(in[i]);
    return i;
}

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The end of a run of non-ASCII characters starting at `i`: a lead byte takes its trail byte with it, so
// the run never ends inside a character.
qsizetype EndOfMultibyteRun(const unsigned char *bytes, qsizetype i, qsizetype size)
{
    while (i < size && bytes[i] >= 0x80)
        i += IsLeadByte(bytes[i]) ? 2 : 1;
    return std::min(i, size);
}

// The characters of the comments, each read once by the code page converter and remembered. The
// converter keeps no state between characters, so a character it read alone is the character it reads
// within a run. A sequence it does not read cleanly alone (a byte that is no character) is never
// remembered: the converter reads the rest of the run itself, from that character on.
class KnownCharacters
{
public:
    // The character of the one or two bytes at `bytes`, and how many bytes it took; 0 when the converter
    // must read from here.
    int Read(const unsigned char *bytes, qsizetype available, char16_t &c)
    {
        const bool pair = IsLeadByte(bytes[0]);
        if (pair && available < 2)
            return 0;
        const unsigned key = pair ? (unsigned(bytes[0]) << 8 | bytes[1]) : bytes[0];
        if (m_chars.empty())
            m_chars.assign(0x10000, Unknown);
        char16_t &known = m_chars[key];
        if (known == Unknown)
            known = ReadAlone(QByteArrayView(reinterpret_cast<const char *>(bytes), pair ? 2 : 1));
        if (known == Unreadable)
            return 0;
        c = known;
        return pair ? 2 : 1;
    }

private:
    // No code page 932 character reads as either.
    static constexpr char16_t Unknown = 0;
    static constexpr char16_t Unreadable = 0xFFFF;

    static char16_t ReadAlone(QByteArrayView bytes)
    {
        QStringDecoder alone(Cp932, QStringConverter::Flag::Stateless);
        const QString text = alone.decode(bytes);
        if (alone.hasError() || text.size() != 1 || text[0].unicode() == Unknown ||
            text[0].unicode() == Unreadable)
            return Unreadable;
        return text[0].unicode();
    }

    std::vector<char16_t> m_chars;
};

// The code page bytes of each character of the comments, each written once by the converter and
// remembered; a character it cannot write alone is never remembered.
class KnownBytes
{
public:
    // Writes the bytes of `c` and returns how many; 0 when the converter must write from here.
    int Write(char16_t c, char *out)
    {
        if (QChar::isSurrogate(c))
            return 0;
        if (m_bytes.empty())
            m_bytes.assign(0x10000, Unknown);
        std::uint16_t &known = m_bytes[c];
        if (known == Unknown)
            known = WriteAlone(c);
        if (known == Unwritable)
            return 0;
        if (known <= 0xFF) {
            out[0] = char(known);
            return 1;
        }
        out[0] = char(known >> 8);
        out[1] = char(known & 0xFF);
        return 2;
    }

private:
    // Code page 932 writes no character as 0x0000 (only U+0000 itself, which is ASCII) nor as 0xFFFF.
    static constexpr std::uint16_t Unknown = 0;
    static constexpr std::uint16_t Unwritable = 0xFFFF;

    static std::uint16_t WriteAlone(char16_t c)
    {
        QStringEncoder alone(Cp932, QStringConverter::Flag::Stateless);
        const QChar ch(c);
        const QByteArray bytes = alone.encode(QStringView(&ch, 1));
        if (alone.hasError() || bytes.isEmpty() || bytes.size() > 2)
            return Unwritable;
        const auto first = std::uint16_t(std::uint8_t(bytes[0]));
        if (bytes.size() == 1)
            return first == Unknown ? Unwritable : first;
        // a lead byte is never zero, so two bytes never read as one
        const std::uint16_t both = std::uint16_t(first << 8 | std::uint8_t(bytes[1]));
        return first == 0 || both == Unwritable ? Unwritable : both;
    }

    std::vector<std::uint16_t> m_bytes;
};

} // namespace

DecodedText DecodeCp932(QByteArrayView bytes)
{
    DecodedText result;
    result.hadInvalidBytes = AppendCp932(bytes, result.text);
    return result;
}

bool AppendCp932(QByteArrayView bytes, QString &text)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    const qsizetype start = text.size();
    const bool fresh = start + size > text.capacity();
    text.resize(start + size); // code page 932 never gives more characters than bytes
    auto *out = reinterpret_cast<char16_t *>(text.data()) + start;
    // room used again was advised when it was new
    if (fresh)
        AdviseLargeBuffer(out, size * qsizetype(sizeof(char16_t)));
    qsizetype written = 0;
    QStringDecoder decoder(Cp932, QStringConverter::Flag::Stateless);
    KnownCharacters known;
    qsizetype i = 0;
    while (i < size) {
        const qsizetype ascii = WidenAscii(data + i, size - i, out + written);
        i += ascii;
        written += ascii;
        if (i >= size)
            break;
        const qsizetype end = EndOfMultibyteRun(data, i, size);
        char16_t c = 0;
        while (i < end) {
            const int taken = known.Read(data + i, end - i, c);
            if (taken == 0)
                break;
            out[written++] = c;
            i += taken;
        }
        if (i == end)
            continue;
        // an invalid byte may give a replacement character and a pending one: never more than the bytes
        const QByteArrayView rest = bytes.sliced(i, end - i);
        const qsizetype room = written + decoder.requiredSpace(rest.size()) + (size - end);
        if (start + room > text.size()) {
            text.resize(start + room);
            out = reinterpret_cast<char16_t *>(text.data()) + start;
        }
        QChar *after = decoder.appendToBuffer(reinterpret_cast<QChar *>(out + written), rest);
        written = reinterpret_cast<char16_t *>(after) - out;
        i = end;
    }
    text.resize(start + written);
    return decoder.hasError();
}

// A LF whose byte before is a CR can be neither half of a two-byte character (a CR is no lead byte), so
// the bytes up to it end every character.
qsizetype PieceEnd(QByteArrayView bytes, qsizetype from, qsizetype size)
{
    const qsizetype total = bytes.size();
    for (qsizetype at = from + size; at < total; at += size) {
        // The CR of a CR LF ending in (low, at] stands in [low - 1, at - 2]: a window without one, as every
        // window of a program with LF line ends is, is passed over at once.
        const qsizetype low = std::max(from + 1, at - size);
        if (at <= low || !std::memchr(bytes.data() + low - 1, '\r', size_t(at - low)))
            continue;
        for (qsizetype lf = at; lf > low; --lf)
            if (bytes[lf - 1] == '\n' && bytes[lf - 2] == '\r')
                return lf;
    }
    return total;
}

std::vector<qsizetype> PieceEnds(QByteArrayView bytes, qsizetype size)
{
    std::vector<qsizetype> ends;
    for (qsizetype from = 0; from < bytes.size();) {
        from = PieceEnd(bytes, from, size);
        ends.push_back(from);
    }
    return ends;
}

bool IsCleanCp932(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    KnownCharacters known;
    qsizetype i = 0;
    while (i < size) {
#ifdef __SSE2__
        while (i + 16 <= size &&
               _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i))) == 0)
            i += 16;
#endif
        while (i < size && data[i] < 0x80)
            ++i;
        if (i >= size)
            break;
        const qsizetype end = EndOfMultibyteRun(data, i, size);
        char16_t c = 0;
        while (i < end) {
            const int taken = known.Read(data + i, end - i, c);
            if (taken == 0)
                break;
            i += taken;
        }
        if (i == end)
            continue;
        QStringDecoder decoder(Cp932, QStringConverter::Flag::Stateless);
        const QString ignored = decoder.decode(bytes.sliced(i, end - i));
        if (decoder.hasError())
            return false;
        i = end;
    }
    return true;
}

namespace {

qsizetype FirstUnencodable(QStringView text)
{
    KnownBytes known;
    char bytes[2];
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80 || known.Write(text[i].unicode(), bytes) > 0)
            continue;
        const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder single(Cp932, QStringConverter::Flag::Stateless);
        const QByteArray ignored = single.encode(text.mid(i, width));
        if (single.hasError())
            return i;
        i += width - 1;
    }
    return 0;
}

} // namespace

namespace {

// Writes texts in code page 932, remembering the bytes of the comment characters from text to text.
class Cp932Writer
{
public:
    // Appends the bytes of `text` to `bytes` from `written` on (growing it as needed) and moves `written`
    // past them; false, with only part of them written, when a character cannot be written.
    bool Append(QStringView text, QByteArray &bytes, qsizetype &written)
    {
        const qsizetype size = text.size();
        const char16_t *chars = text.utf16();
        char *out = bytes.data();
        qsizetype i = 0;
        const auto ensureRoom = [&](qsizetype needed) {
            if (written + needed > bytes.size()) {
                bytes.resize((written + needed) * 2 + (size - i));
                out = bytes.data();
            }
        };
        while (i < size) {
            ensureRoom(size - i);
            const qsizetype ascii = NarrowAscii(chars + i, size - i, out + written);
            i += ascii;
            written += ascii;
            if (i >= size)
                break;
            qsizetype end = i;
            while (end < size && chars[end] >= 0x80)
                ++end;
            ensureRoom(2 * (end - i));
            while (i < end) {
                const int put = m_known.Write(chars[i], out + written);
                if (put == 0)
                    break;
                written += put;
                ++i;
            }
            if (i == end)
                continue;
            const QStringView rest = text.sliced(i, end - i);
            ensureRoom(m_encoder.requiredSpace(rest.size()));
            char *after = m_encoder.appendToBuffer(out + written, rest);
            if (m_encoder.hasError())
                return false;
            written = after - out;
            i = end;
        }
        return true;
    }

    // Whether every character of `text` can be written.
    bool CanWrite(QStringView text)
    {
        const qsizetype size = text.size();
        const char16_t *chars = text.utf16();
        char pair[2];
        for (qsizetype i = 0; i < size; ++i) {
            // ASCII four characters at a time
            for (std::uint64_t word; i + 4 <= size; i += 4) {
                std::memcpy(&word, chars + i, 8);
                if (word & HighBits16)
                    break;
            }
            if (i >= size)
                break;
            if (chars[i] < 0x80 || m_known.Write(chars[i], pair) > 0)
                continue;
            qsizetype end = i;
            while (end < size && chars[end] >= 0x80)
                ++end;
            QStringEncoder check(Cp932, QStringConverter::Flag::Stateless);
            const QByteArray ignored = check.encode(text.sliced(i, end - i));
            if (check.hasError())
                return false;
            i = end - 1;
        }
        return true;
    }

private:
    QStringEncoder m_encoder{Cp932, QStringConverter::Flag::Stateless};
    KnownBytes m_known;
};

} // namespace

EncodedText EncodeCp932(QStringView text)
{
    EncodedText result;
    // ASCII gives a byte per character, the rest at most two; grown only for text far from a program's
    result.bytes.resize(text.size() + text.size() / 8 + 16);
    AdviseLargeBuffer(result.bytes.data(), result.bytes.size());
    qsizetype written = 0;
    Cp932Writer writer;
    if (!writer.Append(text, result.bytes, written)) {
        result.badIndex = FirstUnencodable(text);
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(written);
    return result;
}

qsizetype WriteCp932(QStringView text, const std::function<void(QByteArrayView)> &write)
{
    Cp932Writer writer;
    if (!writer.CanWrite(text))
        return FirstUnencodable(text);
    constexpr qsizetype Piece = 1 << 18;
    QByteArray bytes(Piece + Piece / 8 + 16, Qt::Uninitialized);
    for (qsizetype from = 0; from < text.size();) {
        qsizetype length = std::min(Piece, text.size() - from);
        // a surrogate pair stays in one piece
        if (from + length < text.size() && text[from + length - 1].isHighSurrogate())
            --length;
        qsizetype written = 0;
        writer.Append(text.sliced(from, length), bytes, written);
        write(QByteArrayView(bytes.constData(), written));
        from += length;
    }
    return -1;
}

} // namespace nc
