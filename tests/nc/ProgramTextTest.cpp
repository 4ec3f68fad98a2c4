#include "nc/ProgramText.h"
#include "nc/PassInParts.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <random>
#include <vector>

TEST(ProgramText, RoundTripsShiftJis)
{
    const QByteArray bytes("O1000(\x83\x65\x83\x58\x83\x67)\\\r\n\x81\x40G00\r\n");
    const nc::DecodedText decoded = nc::DecodeCp932(bytes);
    EXPECT_FALSE(decoded.hadInvalidBytes);
    EXPECT_EQ(decoded.text, QString::fromUtf8("O1000(テスト)\\\r\n\u3000G00\r\n"));
    const nc::EncodedText encoded = nc::EncodeCp932(decoded.text);
    ASSERT_TRUE(encoded.ok());
    EXPECT_EQ(encoded.bytes, bytes);
}

TEST(ProgramText, ReportsWhatCannotBeEncoded)
{
    const nc::EncodedText encoded = nc::EncodeCp932(QString::fromUtf8("G01\r\nX1\u240A"));
    EXPECT_FALSE(encoded.ok());
    EXPECT_EQ(encoded.badIndex, 7);
    EXPECT_TRUE(nc::DecodeCp932(QByteArray("\x81\x7f", 2)).hadInvalidBytes);
}

// The ASCII fast path must decode exactly as the code page converter does on the whole text, invalid
// bytes included.
TEST(ProgramText, DecodesLikeTheConverterOnTheWholeText)
{
    const QByteArray samples[] = {
        QByteArray("G01 X1.\r\n(\x83\x65\x83\x58\x83\x67)\r\n"),
        QByteArray("\x81", 1),
        QByteArray("A\x81"),
        QByteArray("\x81\x0a"
                   "B"),
        QByteArray("\xb1\xb2 \xdf\r\n"),
        QByteArray("\x80\xa0\xfd\xfe\xff"
                   "X"),
        QByteArray("\x82\xa0\x82"
                   "Z"),
        QByteArray("\xe0\x40\xfc\xfc"
                   "Q"),
    };
    for (const QByteArray &bytes : samples) {
        QStringDecoder whole("windows-31j", QStringConverter::Flag::Stateless);
        const QString expected = whole.decode(bytes);
        const nc::DecodedText decoded = nc::DecodeCp932(bytes);
        EXPECT_EQ(decoded.text, expected) << bytes.toHex().constData();
        EXPECT_EQ(decoded.hadInvalidBytes, whole.hasError()) << bytes.toHex().constData();
    }
}

TEST(ProgramText, EncodesLongMixedTexts)
{
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QString::fromUtf8("N%1 G01 X%1. (ｶﾅ 工程%1)\r\n").arg(i);
    const nc::EncodedText encoded = nc::EncodeCp932(text);
    ASSERT_TRUE(encoded.ok());
    EXPECT_EQ(nc::DecodeCp932(encoded.bytes).text, text);
}

namespace {

// What the converter makes of each run of non-ASCII bytes (a lead byte taking the byte after it), ASCII
// outside the runs standing for itself: the reading the remembered characters must give.
nc::DecodedText DecodeRunByRun(const QByteArray &bytes)
{
    nc::DecodedText result;
    QStringDecoder runs("windows-31j", QStringConverter::Flag::Stateless);
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            result.text += QChar(b);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x80) {
            const auto lead = static_cast<unsigned char>(bytes[end]);
            end += (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
        }
        end = std::min(end, bytes.size());
        result.text += runs.decode(bytes.mid(i, end - i));
        i = end;
    }
    result.hadInvalidBytes = runs.hasError();
    return result;
}

} // namespace

// Every one- and two-byte sequence, between ASCII and run together, and random bytes: the remembered
// characters of the comments read exactly as the converter reads the runs.
TEST(ProgramText, EverySequenceDecodesLikeTheConverter)
{
    QByteArray separated;
    QByteArray together;
    for (int first = 0x80; first <= 0xFF; ++first) {
        separated += 'A';
        separated += char(first);
        for (int second = 0; second <= 0xFF; ++second) {
            separated += 'B';
            separated += char(first);
            separated += char(second);
            if (second >= 0x40) {
                together += char(first);
                together += char(second);
            }
        }
    }
    std::vector<QByteArray> samples = {separated, together};
    std::mt19937 random(2024);
    for (int i = 0; i < 200; ++i) {
        QByteArray soup;
        for (int k = 0; k < 500; ++k)
            soup += char(random() % 4 == 0 ? random() % 0x80 : 0x80 + random() % 0x80);
        samples.push_back(soup);
    }
    for (const QByteArray &bytes : samples) {
        const nc::DecodedText expected = DecodeRunByRun(bytes);
        const nc::DecodedText decoded = nc::DecodeCp932(bytes);
        ASSERT_EQ(decoded.text, expected.text) << bytes.left(64).toHex().constData();
        ASSERT_EQ(decoded.hadInvalidBytes, expected.hadInvalidBytes) << bytes.left(64).toHex().constData();
    }
}

// Every character of the basic plane the converter can write, one after another and among ASCII, gives
// the converter's bytes; one it cannot write is reported where it stands.
TEST(ProgramText, EveryCharacterEncodesLikeTheConverter)
{
    QString together;
    QString separated;
    std::vector<char16_t> unwritable;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QChar ch = QChar(char16_t(c));
        QStringEncoder alone("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray ignored = alone.encode(QStringView(&ch, 1));
        if (alone.hasError()) {
            unwritable.push_back(char16_t(c));
            continue;
        }
        together += ch;
        separated += u'x';
        separated += ch;
    }
    for (const QString &text : {together, separated}) {
        QStringEncoder whole("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray expected = whole.encode(text);
        ASSERT_FALSE(whole.hasError());
        const nc::EncodedText encoded = nc::EncodeCp932(text);
        ASSERT_TRUE(encoded.ok());
        ASSERT_EQ(encoded.bytes, expected);
    }
    ASSERT_FALSE(unwritable.empty());
    for (size_t i = 0; i < unwritable.size(); i += 97) {
        const QString text = QStringLiteral("G01 (テスト") + QChar(unwritable[i]) + QStringLiteral(")");
        EXPECT_EQ(nc::EncodeCp932(text).badIndex, 8) << int(unwritable[i]);
    }
    const QString emoji = QStringLiteral("(ア") + QString::fromUcs4(U"\U0001F600") + QStringLiteral(")");
    EXPECT_EQ(nc::EncodeCp932(emoji).badIndex, 2);
    EXPECT_EQ(nc::EncodeCp932(QStringLiteral("X") + QChar(char16_t(0xD800))).badIndex, 1);
}

// Written a piece at a time, a long text gives the bytes it gives whole; a text with a character that
// cannot be written gives nothing at all.
TEST(ProgramText, WritesInPiecesOrNotAtAll)
{
    // more than one piece
    QString text;
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("N%1 G01 X%1. (ｶﾅ 工程)\r\n").arg(i);
    QByteArray written;
    const auto collect = [&](QByteArrayView piece) { written += piece; };
    EXPECT_EQ(nc::WriteCp932(text, collect), -1);
    EXPECT_EQ(written, nc::EncodeCp932(text).bytes);

    written.clear();
    const qsizetype bad = text.size() - 5;
    text[bad] = QChar(0x240A);
    EXPECT_EQ(nc::WriteCp932(text, collect), bad);
    EXPECT_TRUE(written.isEmpty());

    // wherever it stands among ASCII characters
    for (qsizetype at = 0; at < 9; ++at) {
        QString shortText = QStringLiteral("G01X1.Z2.");
        shortText[at] = QChar(0x240D);
        EXPECT_EQ(nc::WriteCp932(shortText, collect), at);
        EXPECT_TRUE(written.isEmpty());
    }
}

// ASCII is taken many characters at a time: a comment character anywhere among it, at the start, the
// end or the middle of such a stretch, is read and written like any other.
TEST(ProgramText, ReadsAndWritesACommentCharacterAnywhereInAscii)
{
    const QString ascii = QStringLiteral("N0010 G01 X12.345 Z-6.789 F0.15 (ABCDEFGHIJ) M08\r\n");
    for (qsizetype at = 0; at <= ascii.size(); ++at) {
        const QString text = ascii.left(at) + QStringLiteral("工") + ascii.mid(at);
        const nc::EncodedText encoded = nc::EncodeCp932(text);
        ASSERT_TRUE(encoded.ok()) << at;
        QStringEncoder whole("windows-31j", QStringConverter::Flag::Stateless);
        ASSERT_EQ(encoded.bytes, whole.encode(text)) << at;
        ASSERT_EQ(nc::DecodeCp932(encoded.bytes).text, text) << at;
    }
}

// Pieces that end just after a CR LF decode one by one to the text decoded whole, whatever bytes stand
// around the CR LF; and bytes are clean exactly when decoding them finds nothing invalid, whether checked
// whole or in parts.
TEST(ProgramText, PiecesDecodeLikeTheWholeAndCleanBytesAreKnown)
{
    std::mt19937 random(31);
    const char around[] = {'\r',       '\n',       'X',        char(0x81), char(0x82),
                           char(0xA0), char(0x40), char(0xB1), char(0xE0)};
    for (int sample = 0; sample < 300; ++sample) {
        QByteArray bytes;
        const int length = int(random() % 400);
        for (int k = 0; k < length; ++k) {
            if (random() % 5 == 0)
                bytes += "\r\n";
            else
                bytes += around[random() % sizeof around];
        }
        const nc::DecodedText whole = nc::DecodeCp932(bytes);
        for (qsizetype size : {1, 2, 3, 7, 50}) {
            QString pieces;
            qsizetype from = 0;
            for (const qsizetype end : nc::PieceEnds(bytes, size)) {
                ASSERT_GT(end, from);
                ASSERT_TRUE(end == bytes.size() || bytes.sliced(0, end).endsWith("\r\n"));
                pieces += nc::DecodeCp932(QByteArrayView(bytes).sliced(from, end - from)).text;
                from = end;
            }
            ASSERT_EQ(from, bytes.size()) << bytes.toHex().constData() << " in pieces of " << size;
            ASSERT_EQ(pieces, whole.text) << bytes.toHex().constData() << " in pieces of " << size;
        }
        EXPECT_EQ(nc::IsCleanCp932(bytes), !whole.hadInvalidBytes) << bytes.toHex().constData();
        // checked in parts at once, the verdict is the same
        for (const nc::PassPartsPlan &plan : {nc::PassPartsPlan{1, 2, 0}, {3, 3, 0}, {20, 8, 0}})
            EXPECT_EQ(nc::IsCleanCp932InParts(bytes, plan), !whole.hadInvalidBytes)
                << bytes.toHex().constData() << " in parts of " << plan.pieceSize;
    }
    // a stretch of LF line ends is passed over; its window's CR LF is found at either edge
    const struct
    {
        QByteArray bytes;
        std::vector<qsizetype> ends;
    } stretches[] = {{"X\nX\nX\nX\r\nX\n", {9, 11}}, {"XX\r\nXXXXX", {4, 9}}, {"X\nX\nX\nX\nX\n", {10}}};
    for (const auto &stretch : stretches)
        EXPECT_EQ(nc::PieceEnds(stretch.bytes, 3), stretch.ends) << stretch.bytes.constData();
    EXPECT_TRUE(nc::IsCleanCp932(QByteArray("G01 (\x83\x65\x83\x58\x83\x67)\r\n")));
    EXPECT_FALSE(nc::IsCleanCp932(QByteArray("G01 (\x81\x7f)\r\n")));
}
