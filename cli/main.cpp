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

// The program's text. A file is read through a mapping of it, which spares copying its bytes; standard
// input is read whole. The bytes are given up as soon as they are decoded.
bool ReadProgram(const QString &path, QString &program, bool &hadInvalidBytes, QString &error)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        error = QStringLiteral("cannot read %1: %2")
                    .arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString());
        return false;
    }
    const qint64 size = file.size();
    uchar *mapped = path.isEmpty() || size == 0 ? nullptr : file.map(0, size);
    nc::DecodedText decoded;
    if (mapped) {
        decoded = nc::DecodeCp932(QByteArrayView(mapped, size));
        file.unmap(mapped);
    } else {
        decoded = nc::DecodeCp932(file.readAll());
        if (file.error() != QFileDevice::NoError) {
            error = QStringLiteral("cannot read %1: %2")
                        .arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString());
            return false;
        }
    }
    program = std::move(decoded.text);
    hadInvalidBytes = decoded.hadInvalidBytes;
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

// Writes the result in pieces. A full disk or a file size limit may stop the output part way: that is a
// failure, never a success.
class OutputWriter
{
public:
    void Write(QByteArrayView bytes)
    {
        if (m_failed)
            return;
        if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
            Failed();
    }

    bool Finish()
    {
        if (!m_failed && (std::fflush(stdout) != 0 || std::ferror(stdout)))
            Failed();
        return !m_failed;
    }

private:
    void Failed()
    {
        m_failed = true;
        WriteError(QStringLiteral("cannot write the result to standard output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
    }

    bool m_failed = false;
};

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
    QString program;
    bool hadInvalidBytes = false;
    if (!ReadProgram(input, program, hadInvalidBytes, error)) {
        WriteError(error);
        return 2;
    }
    const CliOutcome outcome = command->run(options, program);
    program = QString();
    if (outcome.exitCode == 2)
        return UsageError(outcome.error);

    OutputWriter writer;
    const qsizetype badIndex =
        nc::WriteCp932(outcome.output, [&writer](QByteArrayView bytes) { writer.Write(bytes); });
    if (!writer.Finish())
        return 1;
    if (badIndex >= 0) {
        WriteError(UnencodableResult(outcome.output, badIndex, hadInvalidBytes));
        return 1;
    }
    WriteError(outcome.error);
    return outcome.exitCode;
}
