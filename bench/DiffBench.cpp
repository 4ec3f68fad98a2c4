// Times the line difference of a generated program and its conversions' results (a unit change, the
// blanks removed, the translator's result, and a result in which every line differs) on 10k, 100k and 1M
// lines, beside the conversion's own time, and writes the table to bench/RESULTS-compare.md.
// Options: --sizes 10000,100000,1000000 --reps 3 --out FILE

#include "bench/ProgramGenerator.h"
#include "compare/LineDiff.h"
#include "compare/WordDiff.h"
#include "convert/SpacePass.h"
#include "convert/UnitPass.h"
#include "machine/ConversionTable.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct Timing
{
    double seconds = 0;    // wall time
    double cpuSeconds = 0; // processor time: less shaken by other work on a shared machine
};

Timing Median(int repetitions, const std::function<void()> &work)
{
    std::vector<Timing> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpu = std::clock();
        work();
        times.push_back({double(timer.nsecsElapsed()) / 1e9, double(std::clock() - cpu) / CLOCKS_PER_SEC});
    }
    std::sort(times.begin(), times.end(),
              [](const Timing &a, const Timing &b) { return a.seconds < b.seconds; });
    return times[times.size() / 2];
}

QString CpuName()
{
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QStringLiteral("unknown");
}

// Every line of the program with a "#" appended: no line is left as it was.
QString EveryLineDiffers(const QString &program)
{
    const auto lines = compare::CutLines(program);
    QString out;
    out.reserve(program.size() + qsizetype(lines.size()) * 2);
    for (const compare::TextLine &line : lines) {
        if (!out.isEmpty() || &line != &lines.front())
            out += QStringLiteral("\r\n");
        out += QStringView(program).mid(line.start, line.length);
        out += u'#';
    }
    return out;
}

struct Row
{
    qsizetype lines = 0;
    QString result;
    qsizetype resultLines = 0;
    Timing conversion;
    Timing diff;
    qsizetype changed = 0;
    size_t hunks = 0;
    bool coarse = false;
    double lastScreenSeconds = 0;
};

// What the panes pay once the result is shown: the word marks of one screen of 40 changed lines at the
// end of the program, the comment state of the lines above worked out first.
double LastScreen(const QString &source, const QString &result, const compare::LineDiff &diff)
{
    QElapsedTimer timer;
    timer.start();
    compare::CommentStates sourceComments(source, diff.sourceLines);
    compare::CommentStates resultComments(result, diff.resultLines);
    int marked = 0;
    for (int a = int(diff.sourceLines.size()) - 1; a >= 0 && marked < 40; --a) {
        if (diff.sourceStates[size_t(a)] != compare::LineState::Changed)
            continue;
        const int b = diff.resultOfSource[size_t(a)];
        const compare::TextLine &s = diff.sourceLines[size_t(a)];
        const compare::TextLine &r = diff.resultLines[size_t(b)];
        const compare::WordDiff words =
            compare::DiffWords(QStringView(source).mid(s.start, s.length), sourceComments.StartsInComment(a),
                               QStringView(result).mid(r.start, r.length), resultComments.StartsInComment(b));
        marked += !words.source.empty() || !words.result.empty();
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::vector<qsizetype> sizes{10000, 100000, 1000000};
    int repetitions = 3;
    QString out = QStringLiteral(BRINDLEWICK_SOURCE_DIR "/bench/RESULTS-compare.md");
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--sizes") {
            sizes.clear();
            for (const QString &size : args[i + 1].split(u','))
                sizes.push_back(size.toLongLong());
        } else if (args[i] == u"--reps") {
            repetitions = std::max(1, args[i + 1].toInt());
        } else if (args[i] == u"--out") {
            out = args[i + 1];
        }
    }
    ConversionTable table;
    if (!ReadTableFile(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data/オークマ 旋盤 FANUC-OSP.csv"), table)
             .ok) {
        std::fprintf(stderr, "the default table could not be read\n");
        return 1;
    }

    QString rows;
    QTextStream lines_(&rows);
    for (const qsizetype size : sizes) {
        const QString source = bench::GenerateLatheProgram(size, 7);
        const struct
        {
            const char *name;
            std::function<QString()> convert;
        } conversions[] = {
            {"unit mm-um", [&] { return ConvertUnit(source, UnitOption::MmToUm); }},
            {"space remove", [&] { return ConvertSpace(source, SpaceMode::RemoveBlanks); }},
            {"machine", [&] { return TranslateProgram(source, table, TranslatorOptions{}).text; }},
            {"every line differs", [&] { return EveryLineDiffers(source); }},
        };
        for (const auto &c : conversions) {
            Row row;
            row.lines = qsizetype(compare::CutLines(source).size());
            row.conversion = Median(1, [&] { row.result = c.convert(); });
            compare::LineDiff diff;
            row.diff = Median(repetitions, [&] { diff = compare::DiffLines(source, row.result); });
            row.resultLines = qsizetype(diff.resultLines.size());
            row.changed = diff.changedLines;
            row.hunks = diff.hunks.size();
            row.coarse = diff.coarse;
            row.lastScreenSeconds = LastScreen(source, row.result, diff);
            lines_ << "| " << row.lines << " | " << c.name << " | " << row.resultLines << " | "
                   << QString::number(row.conversion.seconds, 'f', 3) << " | "
                   << QString::number(row.diff.seconds, 'f', 3) << " | "
                   << QString::number(row.diff.cpuSeconds, 'f', 3) << " | "
                   << QString::number(row.diff.seconds / std::max(row.conversion.seconds, 1e-9), 'f', 2)
                   << " | " << row.changed << " | " << qulonglong(row.hunks) << " | "
                   << (row.coarse ? "yes" : "no") << " | "
                   << QString::number(row.lastScreenSeconds * 1000, 'f', 1) << " |\n";
            lines_.flush();
            std::printf(
                "%lld lines, %s: diff %.3f s (CPU %.3f s), conversion %.3f s, %lld changed, coarse %d\n",
                qlonglong(row.lines), c.name, row.diff.seconds, row.diff.cpuSeconds, row.conversion.seconds,
                qlonglong(row.changed), int(row.coarse));
            std::fflush(stdout);
        }
    }

    QFile file(out);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    QTextStream md(&file);
    md << "# Benchmark results: comparing a result with its source\n\n"
       << "Machine: " << CpuName() << ", " << QThread::idealThreadCount() << " cores, "
       << QSysInfo::prettyProductName() << "\n\n"
       << "Date: " << QDateTime::currentDateTimeUtc().toString(Qt::ISODate) << "\n\n"
       << "The lathe program of bench/ProgramGenerator against the results of its conversions, run in "
          "process (no file reading or encoding). *conversion s* is the conversion's own time (one run), "
          "*diff s* the median of "
       << repetitions
       << " runs of the line difference (lines cut, hashed, matched, paired and gathered into runs) and "
          "*diff CPU s* its processor time, *diff / conversion* the ratio of the wall times. *changed* "
          "is the count the heading shows (for each run of lines not kept, the longer of its two sides); "
          "*coarse* says the search for the "
          "fewest changes ran out of its budget and paired the rest in order (or by likeness). *last screen "
          "ms* is what the panes pay for the word marks of 40 changed lines at the end of the program, the "
          "comment state of every line above them worked out first.\n\n"
       << "| lines | result | result lines | conversion s | diff s | diff CPU s | diff / conversion | "
          "changed "
          "| runs | coarse | last screen ms |\n"
       << "|---|---|---|---|---|---|---|---|---|---|---|\n"
       << rows;
    std::printf("wrote %s\n", qPrintable(out));
    return 0;
}
