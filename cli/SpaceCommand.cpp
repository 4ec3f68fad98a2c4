#include "cli/CliCommand.h"
#include "convert/SpacePass.h"
#include "nc/ConversionPass.h"

#include <optional>

namespace {

std::optional<SpaceMode> SpaceModeOf(const QString &name)
{
    if (name == u"add")
        return SpaceMode::AddBlank;
    if (name == u"number")
        return SpaceMode::SequenceNumber;
    if (name == u"remove")
        return SpaceMode::RemoveBlanks;
    return std::nullopt;
}

} // namespace

CliCommand SpaceCommand()
{
    return LineByLineCommand(
        QStringLiteral("space"), QStringLiteral("--mode add|number|remove"), {QStringLiteral("mode")}, {},
        [](const CliOptions &options, QString &error) -> std::unique_ptr<ConversionPass> {
            const std::optional<SpaceMode> mode = SpaceModeOf(options.Value(QStringLiteral("mode")));
            if (!mode) {
                error = QStringLiteral("space: --mode must be add, number or remove");
                return nullptr;
            }
            return SpaceConversion(*mode);
        });
}
