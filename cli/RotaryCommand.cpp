#include "cli/CliCommand.h"
#include "convert/RotaryAxisPass.h"

namespace {

// The texts are taken as typed, as the dialog takes its boxes: a lower-case or longer axis letter
// matches no word.
CliOutcome RunRotary(const CliOptions &options, const QString &program)
{
    RotaryAxisOptions pass;
    pass.AxisLetter = options.Value(QStringLiteral("axis"), pass.AxisLetter);
    pass.ForwardCode = options.Value(QStringLiteral("forward"), pass.ForwardCode);
    pass.ReverseCode = options.Value(QStringLiteral("reverse"), pass.ReverseCode);
    return {0, ConvertRotaryAxis(program, pass), QString()};
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
        {}}; // the text after the last line end is a line of its own here: converted whole
}
