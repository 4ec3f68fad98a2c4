#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

// What the command line gave one conversion: its options and the program text.
struct CliOptions
{
    QMap<QString, QString> values; // "--mode add" gives values["mode"] = "add"
    QSet<QString> flags;           // "--point" gives flags {"point"}

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

struct CliCommand
{
    QString name;
    QString usage; // the options, as the usage message shows them
    QStringList valueOptions;
    QStringList flagOptions;
    std::function<CliOutcome(const CliOptions &, const QString &program)> run;
};

// Each conversion adds its entry in its own file; main() lists them.
const QList<CliCommand> &CliCommands();
