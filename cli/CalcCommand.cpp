#include "cli/CliCommand.h"
#include "search/CalcRun.h"
#include "search/StringTarget.h"

namespace {

std::optional<CalcOperator> OperatorOfOption(const QString &text)
{
    if (text == u"+")
        return CalcOperator::Add;
    if (text == u"-")
        return CalcOperator::Subtract;
    if (text == u"x")
        return CalcOperator::Multiply;
    if (text == u"/")
        return CalcOperator::Divide;
    return std::nullopt;
}

std::optional<int> FormatOfOption(const QString &text)
{
    if (text.size() == 1 && text[0] >= u'1' && text[0] <= u'4')
        return text[0].unicode() - u'0';
    return std::nullopt;
}

} // namespace

// The calculation replace dialog's "全て変更" from the top; the number of changes goes to standard error.
CliCommand CalcCommand()
{
    CliCommand command;
    command.name = QStringLiteral("calc");
    command.usage = QStringLiteral("--find TEXT --op +|-|x|/ --value TEXT [--format 1|2|3|4 (default 1)]");
    command.valueOptions = {QStringLiteral("find"), QStringLiteral("op"), QStringLiteral("value"),
                            QStringLiteral("format")};
    command.run = [](const CliOptions &options, const QString &program) {
        const std::optional<CalcOperator> op = OperatorOfOption(options.Value(QStringLiteral("op")));
        const std::optional<int> format =
            FormatOfOption(options.Value(QStringLiteral("format"), QStringLiteral("1")));
        if (!options.values.contains(QStringLiteral("find")) ||
            !options.values.contains(QStringLiteral("value")))
            return CliOutcome::Usage(QStringLiteral("calc needs --find TEXT, --op and --value TEXT"));
        if (!op)
            return CliOutcome::Usage(QStringLiteral("--op must be +, -, x or /"));
        if (!format)
            return CliOutcome::Usage(QStringLiteral("--format must be 1, 2, 3 or 4"));

        const CalcSettings settings{*op, options.Value(QStringLiteral("value")), *format};
        SearchState state;
        state.FindText = options.Value(QStringLiteral("find"));
        state.WorkText = program;
        StringTarget target(program);
        bool fromTop = true;
        const RunEnd end = CalcAllChange(state, target, settings, fromTop);
        if (!end.ran)
            return CliOutcome::Usage(end.message.text);
        return CliOutcome{0, target.Text(), QString::number(end.count)};
    };
    // A number is read from the characters after an occurrence up to the first that is no blank, sign,
    // point, digit or "=": never past a CR. So unless the text looked for holds a line feed, no occurrence
    // and no change reaches over the end of a line, and the program may be changed a piece at a time.
    command.countsPieceByPiece = [](const CliOptions &options) {
        return !options.Value(QStringLiteral("find")).contains(u'\n');
    };
    return command;
}
