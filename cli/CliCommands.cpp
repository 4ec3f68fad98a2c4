#include "cli/CliCommand.h"

CliCommand SpaceCommand();
CliCommand PointCommand();
CliCommand UnitCommand();

// One line per conversion: the function that builds its entry lives beside the conversion's command file.
const QList<CliCommand> &CliCommands()
{
    static const QList<CliCommand> commands = {
        SpaceCommand(),
        PointCommand(),
        UnitCommand(),
    };
    return commands;
}
