#include "app/window/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, QuoteRule)
{
    const struct
    {
        QString commandLine;
        QString fileName;
    } cases[] = {
        {QStringLiteral("/home/u/a b.nc"), QStringLiteral("/home/u/a b.nc")},
        {QStringLiteral("\"/home/u/a b.nc\" /x /y"), QStringLiteral("/home/u/a b.nc")},
        {QStringLiteral("junk \"/tmp/p.nc\""), QStringLiteral("/tmp/p.nc")},
        {QStringLiteral("\"/tmp/unclosed.nc"), QStringLiteral("/tmp/unclosed.nc")},
        {QStringLiteral("a\"b\"c\"d"), QStringLiteral("b")},
        {QStringLiteral("\"\""), QString()},
        {QStringLiteral(" lead.nc "), QStringLiteral(" lead.nc ")},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileNameFromCommandLineText(c.commandLine), c.fileName) << c.commandLine.toStdString();
}

TEST(CommandLine, TakesTheFirstArgument)
{
    EXPECT_EQ(FileNameFromCommandLine({}), QString());
    EXPECT_EQ(FileNameFromCommandLine({QStringLiteral("/tmp/a b.nc"), QStringLiteral("second.nc")}),
              QStringLiteral("/tmp/a b.nc"));
    EXPECT_EQ(FileNameFromCommandLine({QStringLiteral("\"/tmp/q.nc\"tail")}), QStringLiteral("/tmp/q.nc"));
}

} // namespace
