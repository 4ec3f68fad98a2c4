#include "cli/CliCommand.h"
#include "convert/UnitPass.h"
#include "nc/ConversionPass.h"

#include <optional>

namespace {

std::optional<UnitOption> UnitOptionOf(const QString &name)
{
    struct Named
    {
        const char16_t *name;
        UnitOption option;
    };
    static constexpr Named options[] = {
        {u"um-mm", UnitOption::UmToMm},     {u"10um-mm", UnitOption::TenUmToMm},
        {u"inch-mm", UnitOption::InchToMm}, {u"mm-inch", UnitOption::MmToInch},
        {u"mm-um", UnitOption::MmToUm},     {u"mm-10um", UnitOption::MmToTenUm},
    };
    for (const Named &named : options)
        if (name == QStringView(named.name))
            return named.option;
    return std::nullopt;
}

} // namespace

CliCommand UnitCommand()
{
    return LineByLineCommand(
        QStringLiteral("unit"), QStringLiteral("--mode um-mm|10um-mm|inch-mm|mm-inch|mm-um|mm-10um"),
        {QStringLiteral("mode")}, {},
        [](const CliOptions &options, QString &error) -> std::unique_ptr<ConversionPass> {
            const std::optional<UnitOption> option = UnitOptionOf(options.Value(QStringLiteral("mode")));
            if (!option) {
                error =
                    QStringLiteral("unit: --mode must be um-mm, 10um-mm, inch-mm, mm-inch, mm-um or mm-10um");
                return nullptr;
            }
            return UnitConversion(*option);
        });
}
