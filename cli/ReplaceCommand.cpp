#include "cli/CliCommand.h"
#include "search/ReplaceRun.h"
#include "search/StringTarget.h"

// The Replace dialog's "全て変更" from the top; the number of replacements goes to standard error.
CliCommand ReplaceCommand()
{
    CliCommand command;
    command.name = QStringLiteral("replace");
    command.usage = QStringLiteral("--find TEXT --with TEXT");
    command.valueOptions = {QStringLiteral("find"), QStringLiteral("with")};
    command.run = [](const CliOptions &options, const QString &program) {
        if (!options.values.contains(QStringLiteral("find")) ||
            !options.values.contains(QStringLiteral("with")))
            return CliOutcome::Usage(QStringLiteral("replace needs --find TEXT and --with TEXT"));
        SearchState state;
        state.FindText = options.Value(QStringLiteral("find"));
        state.ReplaceText = options.Value(QStringLiteral("with"));
        state.WorkText = program;
        StringTarget target(program);
        bool fromTop = true;
        const RunEnd end = ReplaceAllChange(state, target, fromTop);
        return CliOutcome{0, target.Text(), QString::number(end.count)};
    };
    return command;
}
