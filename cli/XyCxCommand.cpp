#include "cli/CliCommand.h"
#include "convert/XyCxPass.h"

namespace {

std::unique_ptr<ConversionPass> XyCxPassFor(const CliOptions &options, QString &error)
{
    const QString to = options.Value(QStringLiteral("to"), QStringLiteral("cx"));
    if (to != u"cx" && to != u"xy") {
        error = QStringLiteral("--to must be cx or xy, not %1").arg(to);
        return nullptr;
    }
    return std::make_unique<XyCxPass>(to == u"cx" ? XyCxDirection::ToCx : XyCxDirection::ToXy);
}

} // namespace

CliCommand XyCxCommand()
{
    return LineByLineCommand(QStringLiteral("xycx"), QStringLiteral("--to cx|xy"), {QStringLiteral("to")}, {},
                             XyCxPassFor);
}
