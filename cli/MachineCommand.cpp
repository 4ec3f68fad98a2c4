#include "cli/CliCommand.h"
#include "machine/ConversionTable.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// The default table ships beside the executable, as it does beside the editor.
QString DefaultTablePath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(DefaultTableFileName());
}

CliOutcome RunMachine(const CliOptions &options, const QString &program)
{
    ConversionTable table;
    const QString path = options.Value(QStringLiteral("table"), DefaultTablePath());
    if (!ReadTableFile(path, table).ok)
        return CliOutcome::Usage(TableReadErrorMessage());
    TranslatorOptions translatorOptions;
    translatorOptions.Check1 = options.flags.contains(QStringLiteral("stop-newline"));
    TranslationResult result = TranslateProgram(program, table, translatorOptions);
    if (result.failed)
        return CliOutcome{1, std::move(result.text), result.message};
    return CliOutcome{0, std::move(result.text), QString()};
}

} // namespace

CliCommand MachineCommand()
{
    return {QStringLiteral("machine"),
            QStringLiteral("--table FILE (default: the default table)  [--stop-newline]"),
            {QStringLiteral("table")},
            {QStringLiteral("stop-newline")},
            RunMachine,
            {}};
}
