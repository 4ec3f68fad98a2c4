#include "cli/CliCommand.h"
#include "nc/ProgramText.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void WriteError(const QString &message)
{
    if (message.isEmpty())
        return;
    const QByteArray bytes = message.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
    if (!message.endsWith(u'\n'))
        std::fputc('\n', stderr);
}

QString UsageText()
{
    QString text =
        QStringLiteral("usage: brindlewick-convert CONVERSION [OPTIONS] [INPUT]\n\nconversions:\n");
    for (const CliCommand &command : CliCommands())
        text += QStringLiteral("  %1 %2\n").arg(command.name, command.usage);
    text +=
        QStringLiteral("\nInput is read from INPUT or standard input, the result written to standard output, "
                       "both in code page 932.");
    return text;
}

int UsageError(const QString &message)
{
    WriteError(message);
    WriteError(UsageText());
    return 2;
}

const CliCommand *FindCommand(const QString &name)
{
    for (const CliCommand &command : CliCommands())
        if (command.name == name)
            return &command;
    return nullptr;
}

// Parses "--name value" and "--flag" options and at most one input file name.
bool ParseOptions(const CliCommand &command, const QStringList &args, CliOptions &options, QString &input,
                  QString &error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg.startsWith(u"--")) {
            const QString name = arg.mid(2);
            if (command.flagOptions.contains(name)) {
                options.flags.insert(name);
            } else if (command.valueOptions.contains(name)) {
                if (i + 1 >= args.size()) {
                    error = QStringLiteral("option --%1 needs a value").arg(name);
                    return false;
                }
                options.values.insert(name, args[++i]);
            } else {
                error = QStringLiteral("unknown option %1 for %2").arg(arg, command.name);
                return false;
            }
        } else if (input.isEmpty() && arg != u"-") {
            input = arg;
        } else if (arg != u"-") {
            error = QStringLiteral("more than one input file: %1").arg(arg);
            return false;
        }
    }
    return true;
}

bool ReadInput(const QString &path, QByteArray &bytes, QString &error)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        error = QStringLiteral("cannot read %1: %2")
                    .arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read %1: %2")
                    .arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString());
        return false;
    }
    return true;
}

// Where the result cannot be encoded: its line and character, and the likely cause.
QString UnencodableResult(const QString &output, qsizetype index, bool inputHadInvalidBytes)
{
    const qsizetype line = 1 + QStringView(output).left(index).count(u"\r\n");
    QString message =
        QStringLiteral("line %1 of the result holds U+%2, which code page 932 cannot write")
            .arg(line)
            .arg(QString::number(output.at(index).unicode(), 16).toUpper().rightJustified(4, u'0'));
    if (inputHadInvalidBytes)
        message += QStringLiteral(" (the input holds bytes that are no code page 932 character)");
    return message;
}

// A full disk or a file size limit may stop the output part way: that is a failure, never a success.
bool WriteOutput(const QByteArray &bytes)
{
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    const bool flushed = std::fflush(stdout) == 0;
    if (written == size_t(bytes.size()) && flushed && !std::ferror(stdout))
        return true;
    WriteError(QStringLiteral("cannot write the result to standard output: %1")
                   .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == u"--help" || args.first() == u"-h")
        return UsageError(args.isEmpty() ? QStringLiteral("no conversion given") : QString());
    const CliCommand *command = FindCommand(args.takeFirst());
    if (!command)
        return UsageError(QStringLiteral("unknown conversion"));

    CliOptions options;
    QString input;
    QString error;
    if (!ParseOptions(*command, args, options, input, error))
        return UsageError(error);
    QByteArray bytes;
    if (!ReadInput(input, bytes, error)) {
        WriteError(error);
        return 2;
    }
    const nc::DecodedText decoded = nc::DecodeCp932(bytes);
    const CliOutcome outcome = command->run(options, decoded.text);
    if (outcome.exitCode == 2)
        return UsageError(outcome.error);

    const nc::EncodedText encoded = nc::EncodeCp932(outcome.output);
    if (!encoded.ok()) {
        WriteError(UnencodableResult(outcome.output, encoded.badIndex, decoded.hadInvalidBytes));
        return 1;
    }
    if (!WriteOutput(encoded.bytes))
        return 1;
    WriteError(outcome.error);
    return outcome.exitCode;
}
