#include "cli/CliCommand.h"
#include "nc/ConversionPass.h"

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
CliCommand PathCommand();

// One line per conversion: the function that builds its entry lives beside the conversion's command file.
const QList<CliCommand> &CliCommands()
{
    static const QList<CliCommand> commands = {
        SpaceCommand(),  PointCommand(), UnitCommand(),    G90G91Command(), XyCxCommand(),
        RotaryCommand(), CrlfCommand(),  ReplaceCommand(), CalcCommand(),   MachineCommand(),
        PathCommand(), // the tool path as data, not a conversion
    };
    return commands;
}

CliCommand LineByLineCommand(QString name, QString usage, QStringList valueOptions, QStringList flagOptions,
                             CliPassFactory pass)
{
    const auto run = [pass](const CliOptions &options, const QString &program) {
        QString error;
        const std::unique_ptr<ConversionPass> conversion = pass(options, error);
        if (!conversion)
            return CliOutcome::Usage(error);
        CliOutcome outcome{0, conversion->Run(program), QString()};
        if (conversion->Failed())
            outcome = {1, std::move(outcome.output), conversion->FailureMessage()};
        return outcome;
    };
    return {std::move(name), std::move(usage), std::move(valueOptions), std::move(flagOptions), run, pass};
}
