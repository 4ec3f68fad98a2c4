#include "cli/CliCommand.h"
#include "convert/PointAddPass.h"

#include <optional>

namespace {

std::optional<PointMode> PointModeOf(const QString &name)
{
    if (name == u"point")
        return PointMode::Point;
    if (name == u"point-zero")
        return PointMode::PointZero;
    if (name == u"remove")
        return PointMode::Remove;
    return std::nullopt;
}

} // namespace

CliCommand PointCommand()
{
    return {QStringLiteral("point"),
            QStringLiteral("--mode point|point-zero|remove"),
            {QStringLiteral("mode")},
            {},
            [](const CliOptions &options, const QString &program) {
                const std::optional<PointMode> mode = PointModeOf(options.Value(QStringLiteral("mode")));
                if (!mode)
                    return CliOutcome::Usage(
                        QStringLiteral("point: --mode must be point, point-zero or remove"));
                return CliOutcome{0, ConvertPointAdd(program, *mode), QString()};
            }};
}
