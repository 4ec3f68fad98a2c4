#include "app/window/CommandLine.h"

QString FileNameFromCommandLine(const QStringList &arguments)
{
    return arguments.isEmpty() ? QString() : FileNameFromCommandLineText(arguments.constFirst());
}

QString FileNameFromCommandLineText(const QString &commandLine)
{
    QString name = commandLine;
    const qsizetype opening = name.indexOf(u'"');
    if (opening < 0)
        return name;
    name.remove(0, opening + 1);
    const qsizetype closing = name.indexOf(u'"');
    if (closing >= 0)
        name.truncate(closing);
    return name;
}
