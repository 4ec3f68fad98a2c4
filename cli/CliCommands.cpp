#include "cli/CliCommand.h"

CliCommand SpaceCommand();
CliCommand PointCommand();
CliCommand UnitCommand();
CliCommand G90G91Command();
CliCommand XyCxCommand();
CliCommand RotaryCommand();
CliCommand CrlfCommand();
CliCommand ReplaceCommand();
CliCommand CalcCommand();
CliCommand MachineCommand();

// One line per conversion: the function that builds its entry lives beside the conversion's command file.
const QList<CliCommand> &CliCommands()
{
    static const QList<CliCommand> commands = {
        SpaceCommand(),
        PointCommand(),
        UnitCommand(),
        G90G91Command(),
        XyCxCommand(),
        RotaryCommand(),
        CrlfCommand(),
        ReplaceCommand(),
        CalcCommand(),
        MachineCommand(),
    };
    return commands;
}
