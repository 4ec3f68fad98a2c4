// Times the tool path of generated programs of growing size: the walk that turns a program into
// segments (what the plot view does after each edit) and the comparison of two paths (what it does while a
// result is shown), and writes the figures to bench/RESULTS-toolpath.md. The lathe, the mill and a lathe
// program made of roughing and finishing cycles, whose walk expands every cycle into its passes.

#include "app/toolpath/ToolPathPlot.h"
#include "bench/ProgramGenerator.h"
#include "toolpath/PathCompare.h"
#include "toolpath/ToolPath.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Settings
{
    QList<qsizetype> sizes = {10000, 100000, 1000000};
    int repetitions = 3;
    QString resultsPath = QStringLiteral(BRINDLEWICK_SOURCE_DIR "/bench/RESULTS-toolpath.md");
};

// The options of bench.sh that concern this measurement; the others (--out of the conversion bench) are
// not ours.
Settings ReadSettings(const QStringList &args)
{
    Settings settings;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--sizes") {
            settings.sizes.clear();
            for (const QString &s : args[i + 1].split(u','))
                settings.sizes.append(s.toLongLong());
        } else if (args[i] == u"--reps") {
            settings.repetitions = std::max(1, args[i + 1].toInt());
        } else if (args[i] == u"--path-out") {
            settings.resultsPath = args[i + 1];
        }
    }
    return settings;
}

double MedianSeconds(int repetitions, const std::function<void()> &work)
{
    std::vector<double> seconds;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        seconds.push_back(timer.nsecsElapsed() / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

struct Row
{
    QString program;
    qsizetype lines = 0;
    double megabytes = 0;
    qsizetype segments = 0;
    qsizetype problems = 0;
    double walk = 0;
    double compare = 0;
    double paint = 0;
    double panFrame = 0;
};

Row Measure(const QString &name, const QString &program, qsizetype lines, int repetitions)
{
    Row row;
    row.program = name;
    row.lines = lines;
    row.megabytes = program.size() / 1e6;
    toolpath::ToolPath path;
    row.walk = MedianSeconds(repetitions, [&] { path = toolpath::WalkToolPath(program); });
    row.segments = qsizetype(path.segments.size());
    row.problems = path.problems.Total();
    // the same path twice: every segment is found at once, the comparison's usual case
    const toolpath::ToolPath copy = path;
    row.compare = MedianSeconds(repetitions, [&] { (void)toolpath::ComparePaths(path, copy); });
    // one drawing of the plot window's canvas at 800 x 600, the whole path in view
    ToolPathPlot plot;
    plot.resize(800, 600);
    plot.show();
    plot.SetPaths({std::make_shared<const toolpath::ToolPath>(std::move(path)), nullptr, nullptr}, true);
    row.paint = MedianSeconds(repetitions, [&] {
        plot.SetPaths(plot.Shown(), false); // drawn anew
        (void)plot.grab();
    });
    // a frame while the view is dragged: the picture moves, the paths are not drawn again
    const QPointF middle(400, 300);
    QMouseEvent press(QEvent::MouseButtonPress, middle, plot.mapToGlobal(middle), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &press);
    int step = 0;
    row.panFrame = MedianSeconds(repetitions, [&] {
        const QPointF to = middle + QPointF(++step * 5, 0);
        QMouseEvent move(QEvent::MouseMove, to, plot.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&plot, &move);
        (void)plot.grab();
    });
    std::printf("%-6s %8lld lines %6.1f MB  %8lld segments  walk %.3f s  compare %.3f s\n", qPrintable(name),
                static_cast<long long>(lines), row.megabytes, static_cast<long long>(row.segments), row.walk,
                row.compare);
    std::fflush(stdout);
    return row;
}

QString Table(const std::vector<Row> &rows)
{
    QString text;
    QTextStream out(&text);
    out << "| program | lines | size (MB) | segments | skipped | walk (s) | compare (s) | draw (s) | pan "
           "frame (s) | walk "
           "under 2 s |\n";
    out << "|---|---:|---:|---:|---:|---:|---:|---:|---:|---|\n";
    for (const Row &r : rows)
        out << "| " << r.program << " | " << r.lines << " | " << QString::number(r.megabytes, 'f', 1) << " | "
            << r.segments << " | " << r.problems << " | " << QString::number(r.walk, 'f', 3) << " | "
            << QString::number(r.compare, 'f', 3) << " | " << QString::number(r.paint, 'f', 3) << " | "
            << QString::number(r.panFrame, 'f', 4) << " | " << (r.walk < 2 ? "yes" : "NO") << " |\n";
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Settings settings = ReadSettings(app.arguments());
    std::vector<Row> rows;
    for (const qsizetype lines : settings.sizes) {
        rows.push_back(
            Measure(u"lathe"_qs, bench::GenerateLatheProgram(lines, 1), lines, settings.repetitions));
        rows.push_back(
            Measure(u"mill"_qs, bench::GenerateMillProgram(lines, 2), lines, settings.repetitions));
        rows.push_back(
            Measure(u"cycles"_qs, bench::GenerateCycleProgram(lines), lines, settings.repetitions));
    }
    QFile file(settings.resultsPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(settings.resultsPath));
        return 1;
    }
    QTextStream out(&file);
    out << "# Tool path benchmark\n\n"
        << "Written by `brindlewick-bench-path` (bench/PathBench.cpp, run by bench.sh): the walk of a "
           "generated "
           "program into its tool path, the comparison of that path with an equal one, and one drawing of "
           "the "
           "whole path by the plot window (800 x 600, offscreen) and one frame while it is dragged, median "
           "of "
        << settings.repetitions << " runs, one thread, " << QThread::idealThreadCount() << "-core "
        << QSysInfo::currentCpuArchitecture() << " machine.\n\n"
        << Table(rows);
    return 0;
}
