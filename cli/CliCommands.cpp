#include "cli/CliCommand.h"

// One line per conversion: the function that builds its entry lives beside the conversion's command file.
const QList<CliCommand> &CliCommands()
{
    static const QList<CliCommand> commands = {};
    return commands;
}
