#include "nc/ProgramText.h"

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
