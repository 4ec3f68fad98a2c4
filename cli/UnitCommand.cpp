#include "cli/CliCommand.h"
#include "convert/UnitPass.h"

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
    return {QStringLiteral("unit"),
            QStringLiteral("--mode um-mm|10um-mm|inch-mm|mm-inch|mm-um|mm-10um"),
            {QStringLiteral("mode")},
            {},
            [](const CliOptions &options, const QString &program) {
                const std::optional<UnitOption> option = UnitOptionOf(options.Value(QStringLiteral("mode")));
                if (!option)
                    return CliOutcome::Usage(QStringLiteral(
                        "unit: --mode must be um-mm, 10um-mm, inch-mm, mm-inch, mm-um or mm-10um"));
                return CliOutcome{0, ConvertUnit(program, *option), QString()};
            }};
}
