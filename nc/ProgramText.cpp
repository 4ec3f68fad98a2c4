#include "nc/ProgramText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace nc {
namespace {
constexpr const char *Cp932 = "windows-31j";
}

DecodedText DecodeCp932(const QByteArray &bytes)
{
    QStringDecoder decoder(Cp932);
    DecodedText result;
    result.text = decoder.decode(bytes);
    result.hadInvalidBytes = decoder.hasError();
    return result;
}

EncodedText EncodeCp932(QStringView text)
{
    EncodedText result;
    QStringEncoder encoder(Cp932);
    result.bytes = encoder.encode(text);
    if (!encoder.hasError())
        return result;
    // Only on failure: find the first character that does not encode, one character at a time.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder single(Cp932);
        const QByteArray ignored = single.encode(text.mid(i, width));
        Q_UNUSED(ignored);
        if (single.hasError()) {
            result.badIndex = i;
            break;
        }
        i += width - 1;
    }
    if (result.badIndex < 0)
        result.badIndex = 0;
    result.bytes.clear();
    return result;
}

} // namespace nc
