#include "nc/ProgramText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace nc {
namespace {

constexpr const char *Cp932 = "windows-31j";

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

} // namespace

// Programs are ASCII but for their comments: ASCII runs are widened directly, and only the runs of
// other bytes go through the code page converter.
DecodedText DecodeCp932(const QByteArray &bytes)
{
    DecodedText result;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    result.text.resize(size); // code page 932 never gives more characters than bytes
    QChar *out = result.text.data();
    qsizetype written = 0;
    QStringDecoder decoder(Cp932, QStringConverter::Flag::Stateless);
    qsizetype i = 0;
    while (i < size) {
        while (i < size && data[i] < 0x80)
            out[written++] = QChar(char16_t(data[i++]));
        if (i >= size)
            break;
        const qsizetype end = EndOfMultibyteRun(data, i, size);
        const QString part = decoder.decode(QByteArrayView(bytes).sliced(i, end - i));
        // an invalid byte may give a replacement character and a pending one: never more than the bytes
        if (written + part.size() > result.text.size()) {
            result.text.resize(written + part.size() + (size - end));
            out = result.text.data();
        }
        std::copy(part.constData(), part.constData() + part.size(), out + written);
        written += part.size();
        i = end;
    }
    result.text.resize(written);
    result.hadInvalidBytes = decoder.hasError();
    return result;
}

namespace {

qsizetype FirstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
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

EncodedText EncodeCp932(QStringView text)
{
    EncodedText result;
    const qsizetype size = text.size();
    result.bytes.resize(size + size / 8 + 16);
    char *out = result.bytes.data();
    qsizetype written = 0;
    QStringEncoder encoder(Cp932, QStringConverter::Flag::Stateless);
    const char16_t *chars = text.utf16();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && chars[i] < 0x80) {
            if (written == result.bytes.size()) {
                result.bytes.resize(result.bytes.size() * 2);
                out = result.bytes.data();
            }
            out[written++] = char(chars[i++]);
        }
        if (i >= size)
            break;
        qsizetype end = i;
        while (end < size && chars[end] >= 0x80)
            ++end;
        const QByteArray part = encoder.encode(text.sliced(i, end - i));
        if (encoder.hasError())
            break;
        if (written + part.size() > result.bytes.size()) {
            result.bytes.resize((written + part.size()) * 2 + (size - end));
            out = result.bytes.data();
        }
        std::copy(part.constData(), part.constData() + part.size(), out + written);
        written += part.size();
        i = end;
    }
    if (encoder.hasError()) {
        result.badIndex = FirstUnencodable(text);
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(written);
    return result;
}

} // namespace nc
