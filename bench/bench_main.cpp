// Measures every conversion of brindlewick-convert on generated programs of growing size, side by side
// with awk on the same files, and writes the figures to a table and to bench/RESULTS.md.

#include "bench/ProgramGenerator.h"
#include "nc/ProgramText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run
{
    double seconds = 0;
    long maxRssKb = 0;
    int exitCode = 0;
};

// Runs a command with its output thrown away; wall time and the child's peak resident memory.
Run RunCommand(const QStringList &command)
{
    std::vector<QByteArray> storage;
    for (const QString &part : command)
        storage.push_back(part.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &part : storage)
        argv.push_back(part.data());
    argv.push_back(nullptr);

    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.maxRssKb = usage.ru_maxrss;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Run Median(const QStringList &command, int repetitions)
{
    std::vector<Run> runs;
    for (int i = 0; i < repetitions; ++i)
        runs.push_back(RunCommand(command));
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    Run median = runs[runs.size() / 2];
    for (const Run &r : runs)
        median.maxRssKb = std::max(median.maxRssKb, r.maxRssKb);
    return median;
}

struct Conversion
{
    QString name;
    QStringList args;
    bool mill;     // runs on the mill-turn program
    double target; // allowed ratio to the awk time
};

QList<Conversion> Conversions()
{
    return {
        {"space add", {"space", "--mode", "add"}, false, 1.0},
        {"space number", {"space", "--mode", "number"}, false, 1.0},
        {"space remove", {"space", "--mode", "remove"}, false, 1.0},
        {"point", {"point", "--mode", "point"}, false, 1.0},
        {"unit mm-um", {"unit", "--mode", "mm-um"}, false, 1.0},
        {"crlf", {"crlf"}, false, 1.0},
        {"g90g91", {"g90g91", "--to", "incremental"}, true, 2.0},
        {"xycx", {"xycx", "--to", "cx"}, true, 2.0},
        {"rotary", {"rotary", "--axis", "C"}, true, 2.0},
        {"replace", {"replace", "--find", "G01", "--with", "G1"}, false, 2.0},
        {"calc", {"calc", "--find", "Z", "--op", "+", "--value", "1", "--format", "2"}, false, 2.0},
        {"machine", {"machine"}, false, 3.0},
    };
}

bool WriteProgram(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(nc::EncodeCp932(text).bytes) >= 0;
}

// The one-line program is the mill-turn program with LF line ends: a CR LF alone ends a line, so the
// whole program is one line, as a file from a system that ends lines with LF alone is. Every conversion
// must stay linear in the length of a line too.
enum class ProgramKind
{
    Lathe,
    Mill,
    OneLine
};

const char *KindName(ProgramKind kind)
{
    return kind == ProgramKind::Lathe ? "lathe" : kind == ProgramKind::Mill ? "mill" : "1line";
}

QString Program(ProgramKind kind, qsizetype lines)
{
    if (kind == ProgramKind::Lathe)
        return bench::GenerateLatheProgram(lines, 7);
    QString text = bench::GenerateMillProgram(lines, 7);
    if (kind == ProgramKind::OneLine)
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString CpuModel()
{
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
    return QStringLiteral("unknown");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    QList<qsizetype> sizes = {10000, 100000, 1000000};
    int repetitions = 3;
    QString resultsPath = QStringLiteral(BRINDLEWICK_SOURCE_DIR "/bench/RESULTS.md");
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--sizes") {
            sizes.clear();
            for (const QString &s : args[++i].split(u','))
                sizes.append(s.toLongLong());
        } else if (args[i] == u"--reps") {
            repetitions = std::max(1, args[++i].toInt());
        } else if (args[i] == u"--out") {
            resultsPath = args[++i];
        }
    }
    const QString convert =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../cli/brindlewick-convert");
    QTemporaryDir dir;

    QString table;
    QTextStream out(&table);
    out << "| program | lines | MB | awk s | conversion | s | MB/s | ratio to awk | target | peak MB |\n";
    out << "|---|---|---|---|---|---|---|---|---|---|\n";
    std::printf("%-6s %9s %7s %7s  %-13s %8s %8s %7s %7s %8s\n", "prog", "lines", "MB", "awk s", "conversion",
                "s", "MB/s", "ratio", "target", "peak MB");
    for (qsizetype lines : sizes) {
        for (const ProgramKind kind : {ProgramKind::Lathe, ProgramKind::Mill, ProgramKind::OneLine}) {
            const bool mill = kind == ProgramKind::Mill;
            const char *const name = KindName(kind);
            const QString path = dir.filePath(QStringLiteral("%1_%2.nc").arg(name).arg(lines));
            if (!WriteProgram(path, Program(kind, lines)))
                return 1;
            const double megabytes = QFileInfo(path).size() / 1e6;
            const Run awk = Median({"awk", "{gsub(/ /,\"\"); print}", path}, repetitions);
            for (const Conversion &c : Conversions()) {
                if (kind != ProgramKind::OneLine && c.mill != mill)
                    continue;
                const Run run = Median(QStringList{convert} + c.args + QStringList{path}, repetitions);
                const double ratio = run.seconds / awk.seconds;
                const QString status =
                    run.exitCode == 0 ? QString() : QStringLiteral(" (exit %1)").arg(run.exitCode);
                std::printf("%-6s %9lld %7.1f %7.3f  %-13s %8.3f %8.1f %7.2f %7.1f %8.1f%s\n", name,
                            (long long)lines, megabytes, awk.seconds, qPrintable(c.name), run.seconds,
                            megabytes / run.seconds, ratio, c.target, run.maxRssKb / 1024.0,
                            qPrintable(status));
                std::fflush(stdout);
                out << "| " << name << " | " << lines << " | " << QString::number(megabytes, 'f', 1) << " | "
                    << QString::number(awk.seconds, 'f', 3) << " | " << c.name << status << " | "
                    << QString::number(run.seconds, 'f', 3) << " | "
                    << QString::number(megabytes / run.seconds, 'f', 1) << " | "
                    << QString::number(ratio, 'f', 2) << " | " << c.target << " | "
                    << QString::number(run.maxRssKb / 1024.0, 'f', 1) << " |\n";
            }
        }
    }

    QFile results(resultsPath);
    if (results.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream r(&results);
        r << "# Benchmark results\n\n";
        r << "Machine: " << CpuModel() << ", " << QThread::idealThreadCount() << " cores, "
          << QSysInfo::prettyProductName() << "\n\n";
        r << "Date: " << QDateTime::currentDateTimeUtc().toString(Qt::ISODate) << "\n\n";
        r << "Median of " << repetitions << " runs; every conversion runs through brindlewick-convert "
          << "(code page 932 decoding and encoding included), compared with `awk '{gsub(/ /,\"\"); print}'` "
          << "on the same file in the same run.\n\n";
        r << table;
    }
    return 0;
}
