#include "cli/CliCommand.h"
#include "search/ReplaceRun.h"
#include "search/StringTarget.h"

// The line-end repair: a CR before every LF of the program.
CliCommand CrlfCommand()
{
    CliCommand command;
    command.name = QStringLiteral("crlf");
    command.usage = QStringLiteral("(a CR before every LF)");
    command.run = [](const CliOptions &, const QString &program) {
        SearchState state;
        StringTarget target(program);
        RepairLineEnds(state, target);
        return CliOutcome{0, target.Text(), QString()};
    };
    command.runsPieceByPiece = true; // every LF on its own
    return command;
}
