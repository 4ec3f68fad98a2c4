#include "cli/CliCommand.h"
#include "convert/XyCxPass.h"

namespace {

CliOutcome RunXyCx(const CliOptions &options, const QString &program)
{
    const QString to = options.Value(QStringLiteral("to"), QStringLiteral("cx"));
    if (to != u"cx" && to != u"xy")
        return CliOutcome::Usage(QStringLiteral("--to must be cx or xy, not %1").arg(to));
    return {0, ConvertXyCx(program, to == u"cx" ? XyCxDirection::ToCx : XyCxDirection::ToXy), QString()};
}

} // namespace

CliCommand XyCxCommand()
{
    return {QStringLiteral("xycx"), QStringLiteral("--to cx|xy"), {QStringLiteral("to")}, {}, RunXyCx};
}
