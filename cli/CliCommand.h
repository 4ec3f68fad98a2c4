#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class ConversionPass;

// What the command line gave one conversion: its options and the program text.
struct CliOptions
{
    QMap<QString, QString> values; // "--mode add" gives values["mode"] = "add"
    QSet<QString> flags;           // "--point" gives flags {"point"}
    // The lines the run's passes wrote for the user to look at (a translation's lines to check), added up
    // as each pass reaches the end of the program.
    std::shared_ptr<qint64> linesToCheck = std::make_shared<qint64>(0);

    QString Value(const QString &name, const QString &fallback = QString()) const
    {
        return values.value(name, fallback);
    }
};

// What a conversion hands back: exit 0 with the result, 1 when the conversion stopped with a failure (the
// lines so far in `output`), 2 for a usage error (message only).
struct CliOutcome
{
    int exitCode = 0;
    QString output;
    QString error;

    static CliOutcome Usage(const QString &message) { return {2, QString(), message}; }
};

// Makes a line-by-line conversion's pass for the options, or gives nullptr and a usage error.
using CliPassFactory =
    std::function<std::unique_ptr<ConversionPass>(const CliOptions &, QString &usageError)>;

struct CliCommand
{
    QString name;
    QString usage; // the options, as the usage message shows them
    QStringList valueOptions;
    QStringList flagOptions;
    std::function<CliOutcome(const CliOptions &, const QString &program)> run;
    // For a conversion that goes line by line: its pass for the options, or nullptr with a usage error.
    // The converter then reads, converts and writes the program in pieces; `run` converts it whole.
    CliPassFactory pass;
    // The result of `pass` ends with a line end only when the program does: the one the pass adds after a
    // last line without one is taken off again, as `run` does.
    bool endsAsTheProgramEnds = false;
    // `run` may be given the program a piece at a time, each cut just after a CR LF: the results put
    // together are the result of the whole (a change that never looks past a line end).
    bool runsPieceByPiece = false;
    // For a change that never looks past a line end with some options: whether `run` may be given the
    // program a piece at a time with these. Its standard error is then a count (of changes), and the counts
    // of the pieces added up are the count of the whole.
    std::function<bool(const CliOptions &)> countsPieceByPiece = nullptr;
    // For a conversion that reads a file of its own (the table): the message when it cannot be read, else
    // the empty text. The converter then stops with exit code 3 before reading the program.
    std::function<QString(const CliOptions &)> unreadableFile = nullptr;
    // For a conversion whose passes count lines to look at: the exit code of a run that ended well and
    // the note it writes on standard error (none when empty), from `linesToCheck` of the options.
    std::function<int(const CliOptions &, QString &note)> linesToCheckNote = nullptr;
};

// A command whose conversion goes line by line: `run` makes the pass and gives it the whole program.
CliCommand LineByLineCommand(QString name, QString usage, QStringList valueOptions, QStringList flagOptions,
                             CliPassFactory pass);

// Each conversion adds its entry in its own file; main() lists them.
const QList<CliCommand> &CliCommands();
