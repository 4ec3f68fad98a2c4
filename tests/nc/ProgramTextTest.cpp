#include "nc/ProgramText.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

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
