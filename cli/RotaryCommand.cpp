#include "cli/CliCommand.h"
#include "convert/RotaryAxisPass.h"

namespace {

// The texts are taken as typed, as the dialog takes its boxes: a lower-case or longer axis letter
// matches no word.
RotaryAxisOptions RotaryOptions(const CliOptions &options)
{
    RotaryAxisOptions rotary;
    rotary.AxisLetter = options.Value(QStringLiteral("axis"), rotary.AxisLetter);
    rotary.ForwardCode = options.Value(QStringLiteral("forward"), rotary.ForwardCode);
    rotary.ReverseCode = options.Value(QStringLiteral("reverse"), rotary.ReverseCode);
    return rotary;
}

CliOutcome RunRotary(const CliOptions &options, const QString &program)
{
    return {0, ConvertRotaryAxis(program, RotaryOptions(options)), QString()};
}

} // namespace

CliCommand RotaryCommand()
{
    return {
        QStringLiteral("rotary"),
        QStringLiteral("--axis LETTER (default C)  --forward CODE (default 15)  --reverse CODE (default 16)"),
        {QStringLiteral("axis"), QStringLiteral("forward"), QStringLiteral("reverse")},
        {},
        RunRotary,
        [](const CliOptions &options, QString &) -> std::unique_ptr<ConversionPass> {
            return std::make_unique<RotaryAxisPass>(RotaryOptions(options));
        },
        true}; // the text after the last line end is a line of its own, and gets no line end
}
