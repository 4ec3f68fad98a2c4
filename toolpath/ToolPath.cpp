#include "toolpath/ToolPath.h"

#include "nc/NcScanState.h"
#include "toolpath/LineWords.h"
#include "toolpath/PathBuilder.h"

#include <algorithm>
#include <limits>

namespace toolpath {
namespace {

// Calls `onLine(line, number)` for every line of the program, lines ending at CR LF (a lone CR or LF stays
// inside its line, as in the conversions); the text after the last CR LF is a line too when it is not
// empty.
template <typename OnLine> void ForEachLine(QStringView program, OnLine &&onLine)
{
    constexpr qsizetype MostLines = std::numeric_limits<std::int32_t>::max();
    qsizetype start = 0;
    qsizetype number = 0;
    const qsizetype last = program.size() - 1;
    for (qsizetype i = program.indexOf(u'\r'); i >= 0 && i < last && number < MostLines;
         i = program.indexOf(u'\r', i + 1)) {
        if (program[i + 1] != u'\n')
            continue;
        onLine(program.mid(start, i - start), std::int32_t(number++));
        start = i + 2;
    }
    if (start < program.size() && number < MostLines)
        onLine(program.mid(start), std::int32_t(number));
}

// Walks the words of every line with the shared scanner and comment step.
template <typename OnWords>
void ForEachLineWords(QStringView program, PathProblems &problems, OnWords &&onWords)
{
    NcScanState scan;
    LineWords words;
    bool inComment = false;
    ForEachLine(program, [&](QStringView line, std::int32_t number) {
        // the scanner reads the program's own characters
        scan.Line = QString::fromRawData(line.data(), line.size());
        ReadLineWords(scan, inComment, words, problems);
        onWords(words, number);
    });
}

// What the whole program says about how it is to be read.
struct Survey
{
    bool y = false;
    bool c = false;
    bool g91 = false;
    bool osp = false;
    qsizetype lines = 0;
    qsizetype cycleBlocks = 0; // G70 to G73, G85 to G87: each may expand into dozens of moves
};

Survey SurveyProgram(QStringView program)
{
    Survey survey;
    PathProblems uncounted;
    ForEachLineWords(program, uncounted, [&](const LineWords &words, std::int32_t line) {
        survey.lines = line + 1;
        for (const double g : words.gCodes)
            survey.cycleBlocks += (g >= 70 && g <= 73) || (g >= 85 && g <= 87);
        survey.y = survey.y || words.Has('Y');
        survey.c = survey.c || words.Has('C');
        survey.g91 = survey.g91 || words.HasG(91);
        // an arc radius written as L is the OSP form of R
        survey.osp = survey.osp || words.ospMark || (words.Has('L') && (words.HasG(2) || words.HasG(3)));
    });
    return survey;
}

ReadingRules RulesFor(const Survey &survey, const PathOptions &options)
{
    ReadingRules rules;
    rules.machine = options.machine;
    if (rules.machine == MachineKind::Automatic)
        rules.machine = survey.y || survey.c ? MachineKind::Mill : MachineKind::Lathe;
    rules.dialect = survey.osp ? Dialect::Osp : Dialect::Fanuc;
    rules.polar = rules.machine == MachineKind::Mill && survey.c && !survey.y;
    rules.turningCycles =
        rules.machine == MachineKind::Lathe && rules.dialect == Dialect::Fanuc && !survey.g91;
    rules.home = options.home;
    return rules;
}

} // namespace

ToolPath WalkToolPath(QStringView program, const PathOptions &options)
{
    const Survey survey = SurveyProgram(program);
    const ReadingRules rules = RulesFor(survey, options);
    ToolPath path;
    // room for a move a line and the passes of the cycles at once: growing the path of a large program
    // step by step costs more than walking it; room never used is never touched
    path.segments.reserve(
        std::size_t(std::min(survey.lines + 48 * survey.cycleBlocks, 8 * survey.lines + 1024)));
    path.machine = rules.machine;
    path.dialect = rules.dialect;
    path.polar = rules.polar;
    PathBuilder builder(rules, path);
    ForEachLineWords(program, path.problems,
                     [&](const LineWords &words, std::int32_t number) { builder.AddLine(words, number); });
    builder.Finish();
    return path;
}

std::optional<Point3> PositionOfWords(QStringView text)
{
    std::optional<Point3> position;
    PathProblems uncounted;
    ForEachLineWords(text, uncounted, [&](const LineWords &words, std::int32_t) {
        if (position || !(words.Has('X') || words.Has('Y') || words.Has('Z')))
            return;
        position = Point3{words.Value('X'), words.Value('Y'), words.Value('Z')};
    });
    return position;
}

std::vector<qsizetype> LineStarts(QStringView program)
{
    std::vector<qsizetype> starts{0};
    ForEachLine(program, [&](QStringView line, std::int32_t) {
        const qsizetype next = line.data() - program.data() + line.size() + 2;
        if (next <= program.size())
            starts.push_back(next);
    });
    return starts;
}

qsizetype FirstSegmentOfLine(const ToolPath &path, std::int32_t line)
{
    const auto found = std::lower_bound(path.segments.begin(), path.segments.end(), line,
                                        [](const Segment &s, std::int32_t l) { return s.line < l; });
    if (found == path.segments.end() || found->line != line)
        return -1;
    return found - path.segments.begin();
}

} // namespace toolpath
