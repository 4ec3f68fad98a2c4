#include "cli/CliCommand.h"
#include "machine/ConversionTable.h"
#include "machine/TableFile.h"
#include "machine/TranslatorPass.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// The default table ships beside the executable in a build folder, in share/brindlewick/ when installed.
QString DefaultTablePath()
{
    return QDir(DataFolder(QCoreApplication::applicationDirPath())).filePath(DefaultTableFileName());
}

// The translation carries its state from line to line but never looks back at a line it has done: it goes
// line by line, so the converter hands it the program in pieces.
std::unique_ptr<ConversionPass> MakeMachinePass(const CliOptions &options, QString &usageError)
{
    ConversionTable table;
    const QString path = options.Value(QStringLiteral("table"), DefaultTablePath());
    if (!ReadTableFile(path, table).ok) {
        usageError = TableReadErrorMessage();
        return nullptr;
    }
    TranslatorOptions translatorOptions;
    translatorOptions.Check1 = options.flags.contains(QStringLiteral("stop-newline"));
    auto pass = std::make_unique<TranslatorPass>(table, translatorOptions);
    pass->SetFinished([count = options.linesToCheck](qsizetype lines) { *count += lines; });
    return pass;
}

// A translation that wrote lines to check still succeeds, unless the run is to be strict about them.
int LinesToCheckNote(const CliOptions &options, QString &note)
{
    const qint64 lines = *options.linesToCheck;
    if (lines == 0)
        return 0;
    note = u"要確認 "_qs + QString::number(lines) + u" 行"_qs;
    return options.flags.contains(QStringLiteral("strict")) ? 1 : 0;
}

QString UnreadableTable(const CliOptions &options)
{
    ConversionTable table;
    const QString path = options.Value(QStringLiteral("table"), DefaultTablePath());
    return ReadTableFile(path, table).ok ? QString() : TableReadErrorMessage();
}

} // namespace

CliCommand MachineCommand()
{
    CliCommand command = LineByLineCommand(
        QStringLiteral("machine"),
        QStringLiteral("--table FILE (default: the default table)  [--stop-newline]  [--strict] (exit 1 "
                       "when lines are written for a check, \"要確認 N 行\" on standard error)"),
        {QStringLiteral("table")}, {QStringLiteral("stop-newline"), QStringLiteral("strict")},
        MakeMachinePass);
    command.linesToCheckNote = LinesToCheckNote;
    command.unreadableFile = UnreadableTable;
    return command;
}
