#include "cli/CliCommand.h"

CliCommand SpaceCommand();
CliCommand PointCommand();
CliCommand UnitCommand();
CliCommand CrlfCommand();
CliCommand ReplaceCommand();
CliCommand CalcCommand();

// One line per conversion: the function that builds its entry lives beside the conversion's command file.
const QList<CliCommand> &CliCommands()
{
    static const QList<CliCommand> commands = {
        SpaceCommand(),
        PointCommand(),
        UnitCommand(),
        CrlfCommand(),
        ReplaceCommand(),
        CalcCommand(),
    };
    return commands;
}
