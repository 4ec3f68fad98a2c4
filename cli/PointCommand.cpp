#include "cli/CliCommand.h"
#include "convert/PointAddPass.h"
#include "nc/ConversionPass.h"

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
    return LineByLineCommand(
        QStringLiteral("point"), QStringLiteral("--mode point|point-zero|remove"), {QStringLiteral("mode")},
        {}, [](const CliOptions &options, QString &error) -> std::unique_ptr<ConversionPass> {
            const std::optional<PointMode> mode = PointModeOf(options.Value(QStringLiteral("mode")));
            if (!mode) {
                error = QStringLiteral("point: --mode must be point, point-zero or remove");
                return nullptr;
            }
            return PointAddConversion(*mode);
        });
}
