#pragma once

#include <QString>
#include <QStringList>

// The program file named when the editor is started: the first argument after the program name. The
// shell has already taken the quotes off a quoted name; a name that still holds a double quote keeps
// only what follows the first quote, up to the next one.
QString FileNameFromCommandLine(const QStringList &arguments);

// The quote rule alone, on one command-line text: a text without quotes is the name as it stands,
// blanks included.
QString FileNameFromCommandLineText(const QString &commandLine);
