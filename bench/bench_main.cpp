// Measures every conversion of brindlewick-convert on generated programs of growing size, side by side
// with awk on the same files, and writes the figures to a table and to bench/RESULTS.md.

#include "bench/BenchSettings.h"
#include "bench/ProgramGenerator.h"
#include "nc/ProgramText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
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
    double cpuSeconds = 0; // user and system time, summed over every thread
    long maxRssKb = 0;
    int exitCode = 0;
};

// Runs a command with its output thrown away; wall time, processor time and the child's peak resident
// memory.
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
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Run MedianOf(std::vector<Run> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    Run median = runs[runs.size() / 2];
    for (const Run &r : runs)
        median.maxRssKb = std::max(median.maxRssKb, r.maxRssKb);
    return median;
}

double MedianCpuSeconds(std::vector<Run> runs)
{
    std::sort(runs.begin(), runs.end(),
              [](const Run &a, const Run &b) { return a.cpuSeconds < b.cpuSeconds; });
    return runs[runs.size() / 2].cpuSeconds;
}

struct PairedRuns
{
    Run awk;
    Run conversion;
};

// The conversion and awk run in turn, so that both meet the same state of the machine: on a shared
// machine the speed of both moves by a third within minutes, and a ratio of times taken minutes apart
// measures that rather than the conversion.
PairedRuns PairedMedians(const QStringList &awk, const QStringList &conversion, int repetitions)
{
    std::vector<Run> awkRuns;
    std::vector<Run> conversionRuns;
    for (int i = 0; i < repetitions; ++i) {
        awkRuns.push_back(RunCommand(awk));
        conversionRuns.push_back(RunCommand(conversion));
    }
    return {MedianOf(std::move(awkRuns)), MedianOf(std::move(conversionRuns))};
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
        // "M0" stands about 100,000 times in a million lines of the lathe program
        {"replace", {"replace", "--find", "M0", "--with", "M"}, false, 2.0},
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
    OneLine,
    // a finishing contour: every line a sequence number, three-decimal X and Z and a feed
    Finishing
};

const char *KindName(ProgramKind kind)
{
    switch (kind) {
    case ProgramKind::Lathe:
        return "lathe";
    case ProgramKind::Mill:
        return "mill";
    case ProgramKind::OneLine:
        return "1line";
    case ProgramKind::Finishing:
        break;
    }
    return "finish";
}

QString Program(ProgramKind kind, qsizetype lines)
{
    if (kind == ProgramKind::Lathe)
        return bench::GenerateLatheProgram(lines, 7);
    if (kind == ProgramKind::Finishing)
        return bench::GenerateFinishingProgram(lines, 7);
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

// The targets hold for the largest program; on small ones the start of a process outweighs the work.
const char *Met(bool met, bool judged)
{
    if (!judged)
        return "-";
    return met ? "yes" : "**no**";
}

using bench::Settings;

// The time of each conversion on every size over its time on the size ten times smaller.
QString GrowthTable(const QMap<QString, QMap<qsizetype, double>> &seconds, const QList<qsizetype> &sizes)
{
    QString table;
    QTextStream out(&table);
    out << "| conversion | lines | growth | met |\n|---|---|---|---|\n";
    for (const Conversion &c : Conversions()) {
        const QMap<qsizetype, double> &times = seconds.value(c.name);
        for (qsizetype lines : sizes) {
            if (!times.contains(lines) || !times.contains(lines / 10))
                continue;
            const double growth = times[lines] / times[lines / 10];
            out << "| " << c.name << " | " << lines / 10 << " to " << lines << " | "
                << QString::number(growth, 'f', 1) << "x | " << Met(growth <= 12, lines == sizes.last())
                << " |\n";
        }
    }
    return table;
}

// Runs the editor's measurements several times on one program; the median of each step.
QString EditorTable(const QString &editorBench, const QString &program, int repetitions)
{
    QMap<QString, std::vector<double>> steps;
    QStringList order;
    QString failure;
    for (int i = 0; i < repetitions; ++i) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        // the editor as it was, and keeping recovery copies
        for (const bool recovery : {false, true}) {
            process.start(editorBench, recovery ? QStringList{program, QStringLiteral("--recovery")}
                                                : QStringList{program});
            process.waitForFinished(-1);
            if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
                failure = QStringLiteral("exit %1").arg(process.exitCode());
            for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> fields = line.split('\t');
                if (fields.size() != 2)
                    continue;
                const QString name =
                    (recovery ? QStringLiteral("recovery on: ") : QString()) + QString::fromUtf8(fields[0]);
                if (!order.contains(name))
                    order << name;
                steps[name].push_back(fields[1].toDouble());
            }
        }
    }
    QString table;
    QTextStream out(&table);
    if (!failure.isEmpty())
        out << "The editor's measurements failed (" << failure << ").\n\n";
    out << "| step | s |\n|---|---|\n";
    for (const QString &name : order) {
        std::vector<double> &times = steps[name];
        std::sort(times.begin(), times.end());
        out << "| " << name << " | " << QString::number(times[times.size() / 2], 'f', 4) << " |\n";
    }
    return table;
}

} // namespace

// The three ways a script hands the converter a program: a file argument, a file on standard input and a
// pipe; awk reads the same input the same way. Every command runs through the shell, in turn with the
// others, so that all meet the same state of the machine.
enum class InputWay
{
    File,
    Redirect,
    Pipe
};

QStringList ThroughShell(const QString &command, const QString &path, InputWay way)
{
    QString line;
    switch (way) {
    case InputWay::File:
        line = command + QStringLiteral(" '%1'").arg(path);
        break;
    case InputWay::Redirect:
        line = command + QStringLiteral(" < '%1'").arg(path);
        break;
    case InputWay::Pipe:
        line = QStringLiteral("cat '%1' | ").arg(path) + command;
        break;
    }
    return {QStringLiteral("sh"), QStringLiteral("-c"), line};
}

// What the pipe costs with no conversion behind it: cat writing the program to /dev/null, and into a pipe
// that a second cat reads.
QString PipeAlone(const QString &path, int repetitions)
{
    const QStringList alone = ThroughShell(QStringLiteral("cat"), path, InputWay::File);
    const QStringList piped = ThroughShell(QStringLiteral("cat"), path, InputWay::Pipe);
    std::vector<Run> aloneRuns;
    std::vector<Run> pipedRuns;
    for (int r = 0; r < repetitions; ++r) {
        aloneRuns.push_back(RunCommand(alone));
        pipedRuns.push_back(RunCommand(piped));
    }
    return QStringLiteral("\nThe pipe alone: `cat file` %1 s (CPU %2 s), `cat file | cat` %3 s (CPU %4 s).\n")
        .arg(MedianOf(aloneRuns).seconds, 0, 'f', 3)
        .arg(MedianCpuSeconds(aloneRuns), 0, 'f', 3)
        .arg(MedianOf(pipedRuns).seconds, 0, 'f', 3)
        .arg(MedianCpuSeconds(pipedRuns), 0, 'f', 3);
}

QString InputTable(const QString &convert, const QString &path, int repetitions)
{
    constexpr double Allowed = 1.10; // standard input and a pipe against a file argument
    const QString awk = QStringLiteral("awk '{gsub(/ /,\"\"); print}'");
    QString table;
    QTextStream out(&table);
    out << "| conversion | file s | < file s | ratio | cat \\| s | ratio | file CPU s | cat \\| CPU s | "
           "awk file s | awk < file s | awk cat \\| s | met "
           "|\n|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const Conversion &c : Conversions()) {
        if (c.mill)
            continue;
        QString command = convert;
        for (const QString &arg : c.args)
            command += QStringLiteral(" '%1'").arg(arg);
        std::vector<Run> runs[3];
        std::vector<Run> awkRuns[3];
        for (int r = 0; r < repetitions; ++r) {
            for (const InputWay way : {InputWay::File, InputWay::Redirect, InputWay::Pipe}) {
                awkRuns[int(way)].push_back(RunCommand(ThroughShell(awk, path, way)));
                runs[int(way)].push_back(RunCommand(ThroughShell(command, path, way)));
            }
        }
        double seconds[3];
        double cpuSeconds[3];
        double awkSeconds[3];
        for (int w = 0; w < 3; ++w) {
            seconds[w] = MedianOf(runs[w]).seconds;
            cpuSeconds[w] = MedianCpuSeconds(runs[w]);
            awkSeconds[w] = MedianOf(awkRuns[w]).seconds;
        }
        const double redirect = seconds[1] / seconds[0];
        const double pipe = seconds[2] / seconds[0];
        std::printf("%-13s file %.3f  < file %.3f (%.2f)  pipe %.3f (%.2f)  awk %.3f %.3f %.3f\n",
                    qPrintable(c.name), seconds[0], seconds[1], redirect, seconds[2], pipe, awkSeconds[0],
                    awkSeconds[1], awkSeconds[2]);
        std::fflush(stdout);
        out << "| " << c.name << " | " << QString::number(seconds[0], 'f', 3) << " | "
            << QString::number(seconds[1], 'f', 3) << " | " << QString::number(redirect, 'f', 2) << " | "
            << QString::number(seconds[2], 'f', 3) << " | " << QString::number(pipe, 'f', 2) << " | "
            << QString::number(cpuSeconds[0], 'f', 3) << " | " << QString::number(cpuSeconds[2], 'f', 3)
            << " | " << QString::number(awkSeconds[0], 'f', 3) << " | "
            << QString::number(awkSeconds[1], 'f', 3) << " | " << QString::number(awkSeconds[2], 'f', 3)
            << " | " << Met(redirect <= Allowed && pipe <= Allowed, true) << " |\n";
    }
    out << PipeAlone(path, repetitions);
    return table;
}

// The section of the results that gives the standard input table.
QString InputSection(const QString &programName, int repetitions, const QString &table)
{
    QString section;
    QTextStream r(&section);
    r << "## Standard input\n\n";
    r << "Every conversion of the lathe program on `" << programName
      << "` given as a file argument, on standard input from the file (`< file`) and through a pipe "
         "(`cat file |`), awk reading the same input the same way; each command through `sh -c`, all "
         "in turn, median of "
      << repetitions
      << " runs; CPU s is the processor time of the whole command (the shell, cat and the converter) "
         "summed over the cores. Target: standard input and the pipe within 10 % of the file.\n\n";
    r << table;
    return section;
}

// Only the standard input table, on the largest lathe program: its section of the results is replaced,
// the rest kept as it stands.
int InputOnly(const Settings &settings, const QString &convert, const QDir &dir)
{
    const qsizetype lines = settings.sizes.last();
    const QString path = dir.filePath(QStringLiteral("lathe_%1.nc").arg(lines));
    if (!WriteProgram(path, Program(ProgramKind::Lathe, lines)))
        return 1;
    std::printf("standard input and a pipe, %s\n", qPrintable(QFileInfo(path).fileName()));
    const QString table = InputTable(convert, path, settings.repetitions);
    QFile results(settings.resultsPath);
    if (!results.open(QIODevice::ReadOnly))
        return 1;
    QString text = QString::fromUtf8(results.readAll());
    results.close();
    const qsizetype start = text.indexOf(QStringLiteral("## Standard input\n"));
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 1);
    if (start < 0 || end < 0)
        return 1;
    const QString section =
        InputSection(QFileInfo(path).fileName(), settings.repetitions, table) +
        QStringLiteral("\nThis table measured on its own (`brindlewick-bench --input-only`) on %1.\n")
            .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    text.replace(start, end + 1 - start, section + u'\n');
    if (!results.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    results.write(text.toUtf8());
    return 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Settings settings =
        bench::ParseSettings(app.arguments(), QStringLiteral(BRINDLEWICK_SOURCE_DIR "/bench/RESULTS.md"));
    const QString binaries = QCoreApplication::applicationDirPath();
    const QString convert = binaries + QStringLiteral("/../cli/brindlewick-convert");
    QTemporaryDir temporary;
    const QDir dir(settings.keepFolder.isEmpty() ? temporary.path() : settings.keepFolder);
    if (app.arguments().contains(QStringLiteral("--input-only")))
        return InputOnly(settings, convert, dir);

    QString table;
    QTextStream out(&table);
    out << "| program | lines | MB | awk s | conversion | s | CPU s | MB/s | ratio to awk | target | met | "
           "peak MB | peak / file |\n";
    out << "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    std::printf("%-6s %9s %7s %7s  %-13s %8s %8s %8s %7s %7s %8s %6s\n", "prog", "lines", "MB", "awk s",
                "conversion", "s", "CPU s", "MB/s", "ratio", "target", "peak MB", "x file");
    QMap<QString, QMap<qsizetype, double>> seconds; // conversion -> lines -> seconds, for the growth
    QString largestLathe;
    for (qsizetype lines : settings.sizes) {
        for (const ProgramKind kind :
             {ProgramKind::Lathe, ProgramKind::Mill, ProgramKind::OneLine, ProgramKind::Finishing}) {
            const bool mill = kind == ProgramKind::Mill;
            // the one-line and the finishing program go through every conversion
            const bool every = kind == ProgramKind::OneLine || kind == ProgramKind::Finishing;
            const char *const name = KindName(kind);
            const QString path = dir.filePath(QStringLiteral("%1_%2.nc").arg(name).arg(lines));
            if (!WriteProgram(path, Program(kind, lines)))
                return 1;
            if (kind == ProgramKind::Lathe)
                largestLathe = path;
            const double megabytes = QFileInfo(path).size() / 1e6;
            const QStringList awkCommand{"awk", "{gsub(/ /,\"\"); print}", path};
            for (const Conversion &c : Conversions()) {
                if (!every && c.mill != mill)
                    continue;
                const PairedRuns paired = PairedMedians(
                    awkCommand, QStringList{convert} + c.args + QStringList{path}, settings.repetitions);
                const Run &awk = paired.awk;
                const Run &run = paired.conversion;
                if (!every) // the growth is measured on the lathe and mill-turn programs
                    seconds[c.name][lines] = run.seconds;
                const double ratio = run.seconds / awk.seconds;
                const double peakMb = run.maxRssKb / 1024.0;
                const double peakPerFile = run.maxRssKb * 1024.0 / (megabytes * 1e6);
                // A conversion that did not end normally must not pass for a fast one.
                const QString status =
                    run.exitCode == 0 ? QString() : QStringLiteral(" (exit %1)").arg(run.exitCode);
                std::printf("%-6s %9lld %7.1f %7.3f  %-13s %8.3f %8.3f %8.1f %7.2f %7.1f %8.1f %6.1f%s\n",
                            name, (long long)lines, megabytes, awk.seconds, qPrintable(c.name), run.seconds,
                            run.cpuSeconds, megabytes / run.seconds, ratio, c.target, peakMb, peakPerFile,
                            qPrintable(status));
                std::fflush(stdout);
                out << "| " << name << " | " << lines << " | " << QString::number(megabytes, 'f', 1) << " | "
                    << QString::number(awk.seconds, 'f', 3) << " | " << c.name << status << " | "
                    << QString::number(run.seconds, 'f', 3) << " | "
                    << QString::number(run.cpuSeconds, 'f', 3) << " | "
                    << QString::number(megabytes / run.seconds, 'f', 1) << " | "
                    << QString::number(ratio, 'f', 2) << " | " << QString::number(c.target, 'f', 1) << " | "
                    << Met(ratio <= c.target && run.exitCode == 0, lines == settings.sizes.last()) << " | "
                    << QString::number(peakMb, 'f', 1) << " | " << QString::number(peakPerFile, 'f', 1)
                    << " |\n";
            }
        }
    }

    const QString growth = GrowthTable(seconds, settings.sizes);
    std::printf("\n%s", qPrintable(growth));
    std::printf("\nstandard input and a pipe, %s\n", qPrintable(QFileInfo(largestLathe).fileName()));
    const QString input = InputTable(convert, largestLathe, settings.repetitions);
    const QString editor = EditorTable(binaries + QStringLiteral("/brindlewick-bench-editor"), largestLathe,
                                       settings.repetitions);
    std::printf("\n%s", qPrintable(editor));

    QFile results(settings.resultsPath);
    if (results.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream r(&results);
        r << "# Benchmark results\n\n";
        r << "Machine: " << CpuModel() << ", " << QThread::idealThreadCount() << " cores, "
          << QSysInfo::prettyProductName() << "\n\n";
        r << "Date: " << QDateTime::currentDateTimeUtc().toString(Qt::ISODate) << "\n\n";
        r << "## Conversions\n\n";
        r << "Median of " << settings.repetitions
          << " runs; every conversion runs through brindlewick-convert "
          << "(code page 932 decoding and encoding included), compared with `awk '{gsub(/ /,\"\"); print}'` "
          << "on the same file, the two run in turn (awk, the conversion, awk, ...) so that both meet the "
             "same "
             "state of the machine, and awk s is the median of the awk runs made with that conversion; s is "
             "the wall time. The line-by-line conversions (space, "
             "point, unit, g90g91, xycx, rotary) convert a program of more than a megabyte in parts on every "
             "core ("
          << QThread::idealThreadCount()
          << " here), each part kept only when it provably gives what one run gives; CPU s is the "
             "processor time summed over the cores (awk uses one). Peak is the converter's peak resident "
             "memory. The targets are judged on the largest program only. The programs: lathe (turning with "
             "cycles, comments and tool changes), mill (mill-turn moves in XYZ and C), 1line (the mill "
             "program "
             "with LF line ends, one line to the conversions) and finish (a finishing contour: every line a "
             "sequence number, three-decimal X and Z and a feed; a comment, a rapid, a tool change or a "
             "dwell "
             "every few dozen lines); 1line and finish go through every conversion.\n\n";
        r << table;
        r << "\n## Growth\n\n";
        r << "Time on the larger program over the time on the smaller one (10x the lines; target: within "
             "12x).\n\n";
        r << growth;
        r << "\n" << InputSection(QFileInfo(largestLathe).fileName(), settings.repetitions, input);
        r << "\n## Editor\n\n";
        r << "The main window under QT_QPA_PLATFORM=offscreen on `" << QFileInfo(largestLathe).fileName()
          << "`, median of " << settings.repetitions << " runs, each step with the repaint after it "
          << "(target for open, result, OK and find: under 2 s).\n\n";
        r << editor;
    }
    return 0;
}
