#include "cli/CliCommand.h"
#include "nc/ConversionPass.h"
#include "nc/ProgramText.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

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

// The program's bytes. A file is mapped into memory, which spares copying them; standard input is read
// whole.
class ProgramBytes
{
public:
    ~ProgramBytes() { Release(); }

    bool Open(const QString &path, QString &error)
    {
        const bool opened = path.isEmpty() ? m_file.open(stdin, QIODevice::ReadOnly)
                                           : (m_file.setFileName(path), m_file.open(QIODevice::ReadOnly));
        if (!opened) {
            error = QStringLiteral("cannot read %1: %2")
                        .arg(path.isEmpty() ? QStringLiteral("standard input") : path, m_file.errorString());
            return false;
        }
        m_size = m_file.size();
        m_mapped = path.isEmpty() || m_size == 0 ? nullptr : m_file.map(0, m_size);
        if (!m_mapped)
            m_read = m_file.readAll();
        return true;
    }

    QByteArrayView View() const
    {
        return m_mapped ? QByteArrayView(m_mapped, m_size) : QByteArrayView(m_read);
    }

    void Release()
    {
        if (m_mapped)
            m_file.unmap(m_mapped);
        m_mapped = nullptr;
        m_read = QByteArray();
    }

private:
    QFile m_file;
    uchar *m_mapped = nullptr;
    qint64 m_size = 0;
    QByteArray m_read;
};

void WriteOutput(QByteArrayView bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void ReportUnwritable(qsizetype index)
{
    WriteError(
        QStringLiteral("the result holds a character code page 932 cannot write, at offset %1").arg(index));
}

// The whole program decoded, converted and written; its bytes are given up as soon as they are decoded.
int RunWhole(const CliCommand &command, const CliOptions &options, ProgramBytes &bytes)
{
    QString program = nc::DecodeCp932(bytes.View()).text;
    bytes.Release();
    const CliOutcome outcome = command.run(options, program);
    program = QString();
    if (outcome.exitCode == 2)
        return UsageError(outcome.error);
    const qsizetype badIndex = nc::WriteCp932(outcome.output, WriteOutput);
    if (badIndex >= 0) {
        ReportUnwritable(badIndex);
        return 1;
    }
    std::fflush(stdout);
    WriteError(outcome.error);
    return outcome.exitCode;
}

// A conversion that goes line by line reads, converts and writes the program a piece at a time, so that
// neither the program's text nor the result is ever held whole.
int RunInPieces(ConversionPass &pass, QByteArrayView bytes)
{
    constexpr qsizetype PieceSize = qsizetype(1) << 20;
    qsizetype writtenChars = 0;
    qsizetype badIndex = -1;
    const auto write = [&](QStringView text) {
        if (badIndex >= 0)
            return;
        const qsizetype bad = nc::WriteCp932(text, WriteOutput);
        if (bad >= 0)
            badIndex = writtenChars + bad;
        writtenChars += text.size();
    };
    pass.Start(PieceSize);
    for (qsizetype from = 0; from < bytes.size() && badIndex < 0 && !pass.Failed();) {
        const qsizetype end = nc::PieceEnd(bytes, from, PieceSize);
        pass.Feed(nc::DecodeCp932(bytes.sliced(from, end - from)).text);
        pass.TakeResult(write);
        from = end;
    }
    if (badIndex < 0) {
        pass.End();
        pass.TakeResult(write);
    }
    std::fflush(stdout);
    if (badIndex >= 0) {
        ReportUnwritable(badIndex);
        return 1;
    }
    if (pass.Failed()) {
        WriteError(pass.FailureMessage());
        return 1;
    }
    return 0;
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
    ProgramBytes bytes;
    if (!bytes.Open(input, error)) {
        WriteError(error);
        return 2;
    }
    if (command->pass) {
        const std::unique_ptr<ConversionPass> pass = command->pass(options, error);
        if (!pass)
            return UsageError(error);
        // Bytes that are no character may decode to characters that cannot be written again: such a
        // program is converted whole, so that nothing at all is written then.
        if (nc::IsCleanCp932(bytes.View()))
            return RunInPieces(*pass, bytes.View());
    }
    return RunWhole(*command, options, bytes);
}
