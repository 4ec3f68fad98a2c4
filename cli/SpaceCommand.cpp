#include "cli/CliCommand.h"
#include "convert/SpacePass.h"

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
    return {QStringLiteral("space"),
            QStringLiteral("--mode add|number|remove"),
            {QStringLiteral("mode")},
            {},
            [](const CliOptions &options, const QString &program) {
                const std::optional<SpaceMode> mode = SpaceModeOf(options.Value(QStringLiteral("mode")));
                if (!mode)
                    return CliOutcome::Usage(QStringLiteral("space: --mode must be add, number or remove"));
                return CliOutcome{0, ConvertSpace(program, *mode), QString()};
            }};
}
