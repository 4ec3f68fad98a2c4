#include "app/edit/SystemClipboard.h"

#include <gtest/gtest.h>

namespace {

TEST(ClipboardTextTest, EveryLineEndBecomesCrLf)
{
    struct Case
    {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        {"", ""},
        {"G01 X1.", "G01 X1."},
        {"A\r\nB\r\n", "A\r\nB\r\n"},
        {"A\nB\n", "A\r\nB\r\n"},
        {"A\rB", "A\r\nB"},
        {"A\n\nB", "A\r\n\r\nB"},
        {"A\r\rB", "A\r\n\r\nB"},
        {"A\n\r\nB", "A\r\n\r\nB"},
        {"A\r\n\rB", "A\r\n\r\nB"},
        {"\n", "\r\n"},
        {"\r", "\r\n"},
        {"X\r", "X\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WithCrLfLineEnds(c.text), QString(c.expected));
    }
}

} // namespace
