#include "cli/CliCommand.h"
#include "nc/ProgramText.h"
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
    // The hits are the non-overlapping ones, each searched for after the last: unless the text looked for
    // holds a line feed, none reaches over the end of a line, and the program may be changed a piece at a
    // time. A replacement code page 932 cannot write is left to the whole run, which tells the line.
    command.countsPieceByPiece = [](const CliOptions &options) {
        return !options.Value(QStringLiteral("find")).contains(u'\n') &&
               nc::EncodeCp932(options.Value(QStringLiteral("with"))).ok();
    };
    return command;
}
