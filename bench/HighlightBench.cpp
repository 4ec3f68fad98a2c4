// Measures the colouring of NC words: the editor's open, typing and scrolling with the colours on and off
// (brindlewick-bench-editor run offscreen on generated lathe programs), and the colouring core alone over
// every line of each program. Writes the figures to a table and to bench/RESULTS-highlight.md.
//   brindlewick-bench-highlight [--sizes 10000,100000,1000000] [--reps 3] [--out FILE] [--keep FOLDER]

#include "bench/BenchSettings.h"
#include "bench/ProgramGenerator.h"
#include "highlight/LineColours.h"
#include "nc/ProgramText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::Settings;

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of each step of the editor's measurements over several runs; `failure` names a run that
// did not end normally.
QMap<QString, double> EditorSteps(const QString &editorBench, const QString &program, bool colour,
                                  int repetitions, QStringList &order, QString &failure)
{
    QMap<QString, std::vector<double>> steps;
    for (int i = 0; i < repetitions; ++i) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(editorBench, {program, QStringLiteral("--colour"),
                                    colour ? QStringLiteral("on") : QStringLiteral("off")});
        process.waitForFinished(-1);
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            failure = QStringLiteral("exit %1 on %2").arg(process.exitCode()).arg(program);
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.split('\t');
            if (fields.size() != 2)
                continue;
            const QString name = QString::fromUtf8(fields[0]);
            if (!order.contains(name))
                order << name;
            steps[name].push_back(fields[1].toDouble());
        }
    }
    QMap<QString, double> medians;
    for (auto it = steps.cbegin(); it != steps.cend(); ++it)
        medians[it.key()] = Median(it.value());
    return medians;
}

// The core alone over every line: colouring each one, and only carrying the comment state (what a jump
// to a far block costs at most). Returns the seconds of each; `spans` keeps the work from being dropped.
std::pair<double, double> CoreSeconds(const QString &program, qsizetype &spans)
{
    const QList<QStringView> lines = QStringView(program).split(QStringLiteral("\r\n"));
    highlight::LineColours colours;
    QElapsedTimer timer;
    timer.start();
    bool inComment = false;
    for (const QStringView line : lines)
        spans += qsizetype(colours.Colour(line, inComment).size());
    const double colourSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    inComment = false;
    for (const QStringView line : lines)
        inComment = highlight::InCommentAfter(line, inComment);
    spans += inComment;
    return {colourSeconds, timer.nsecsElapsed() / 1e9};
}

QString Seconds(double s)
{
    return s < 0 ? QStringLiteral("-") : QString::number(s, 'f', 4);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Settings settings = bench::ParseSettings(
        app.arguments(), QStringLiteral(BRINDLEWICK_SOURCE_DIR "/bench/RESULTS-highlight.md"));
    const QString editorBench =
        QCoreApplication::applicationDirPath() + QStringLiteral("/brindlewick-bench-editor");
    QTemporaryDir temporary;
    const QDir dir(settings.keepFolder.isEmpty() ? temporary.path() : settings.keepFolder);

    QString editorTable;
    QTextStream editor(&editorTable);
    editor << "| lines | step | colours off s | colours on s | on / off |\n|---|---|---|---|---|\n";
    QString coreTable;
    QTextStream core(&coreTable);
    core << "| lines | colour every line s | comment state of every line s | lines/s (state) |\n"
            "|---|---|---|---|\n";
    QString openTargets;
    QTextStream targets(&openTargets);
    QString failure;
    for (const qsizetype lines : settings.sizes) {
        const QString program = bench::GenerateLatheProgram(lines, 7);
        const QString path = dir.filePath(QStringLiteral("lathe_%1.nc").arg(lines));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(nc::EncodeCp932(program).bytes) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.close();

        qsizetype spans = 0;
        const auto [colourSeconds, stateSeconds] = CoreSeconds(program, spans);
        core << "| " << lines << " | " << Seconds(colourSeconds) << " | " << Seconds(stateSeconds) << " | "
             << QString::number(lines / stateSeconds / 1e6, 'f', 1) << " M |\n";
        std::printf("%9lld core: colour %.4f s, comment state %.4f s (%lld spans)\n", (long long)lines,
                    colourSeconds, stateSeconds, (long long)spans);

        QStringList order;
        const QMap<QString, double> off =
            EditorSteps(editorBench, path, false, settings.repetitions, order, failure);
        const QMap<QString, double> on =
            EditorSteps(editorBench, path, true, settings.repetitions, order, failure);
        for (const QString &step : order) {
            const double a = off.value(step, -1);
            const double b = on.value(step, -1);
            const QString ratio = a > 0 && b >= 0 ? QString::number(b / a, 'f', 2) : QStringLiteral("-");
            editor << "| " << lines << " | " << step << " | " << Seconds(a) << " | " << Seconds(b) << " | "
                   << ratio << " |\n";
            std::printf("%9lld %-14s off %.4f  on %.4f  %s\n", (long long)lines, qPrintable(step), a, b,
                        qPrintable(ratio));
            std::fflush(stdout);
        }
        if (off.contains(QStringLiteral("open")) && on.contains(QStringLiteral("open"))) {
            const double ratio = on[QStringLiteral("open")] / off[QStringLiteral("open")];
            targets << "| " << lines << " | " << QString::number(ratio, 'f', 2) << " | "
                    << (ratio <= 1.5 ? "yes" : "**no**") << " |\n";
        }
    }

    QFile results(settings.resultsPath);
    if (!results.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(settings.resultsPath));
        return 1;
    }
    QTextStream r(&results);
    r << "# Colouring of NC words: benchmark\n\n"
      << "Written by `brindlewick-bench-highlight` (bench.sh) on "
      << QDateTime::currentDateTimeUtc().toString(Qt::ISODate) << ", median of " << settings.repetitions
      << " runs, generated lathe programs (seed 7), the main window under QT_QPA_PLATFORM=offscreen.\n\n";
    if (!failure.isEmpty())
        r << "A run of the editor's measurements failed (" << failure << ").\n\n";
    r << "## Opening with the colours on, over opening with them off (target: at most 1.5)\n\n"
      << "| lines | on / off | met |\n|---|---|---|\n"
      << openTargets << "\n"
      << "## The editor's steps\n\n"
      << "`type a key` and `page down` are the time of one key with its repaint. `find next` jumps from the "
         "top of the text just put in to its end: with the colours on, the comment state of every block "
         "before the end is found first, the one long scan (later jumps read it from the cache).\n\n"
      << editorTable << "\n"
      << "## The colouring core alone, over every line of the program\n\n"
      << coreTable;
    std::printf("written to %s\n", qPrintable(settings.resultsPath));
    return failure.isEmpty() ? 0 : 1;
}
