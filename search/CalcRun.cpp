#include "search/CalcRun.h"

#include "nc/LargeText.h"
#include "nc/NcNumber.h"
#include "search/SearchRoutines.h"

namespace {

SearchMessage EndCalcRun(SearchState &state, const QString &countText, const QString &title)
{
    SearchMessage message;
    message.title = title;
    if (state.FindCount != 0)
        message.text = QString::number(state.FindCount) + countText;
    else
        message.text = u'"' + state.FindText + u'"' + QStringLiteral(" 見つかりません。");
    state.FirstChange = true;
    state.FindCount = 0;
    return message;
}

const QString CalcChangeTitle = QStringLiteral("計算による変更");

void StartFromTopIfAsked(SearchState &state, bool &fromTop)
{
    if (fromTop) {
        state.FindStart = 0;
        fromTop = false;
    }
}

// Where the run over the original text stands: the result holds the original text up to `copied`.
struct CalcPass
{
    QString result;
    qsizetype copied = 0;
    qint64 changes = 0;
    qsizetype findStart = 0; // in the changed text
    bool lastHitChanged = false;
    qsizetype lastHit = -1; // in the changed text
};

} // namespace

std::optional<SearchMessage> CalcChange(SearchState &state, SearchTarget &target,
                                        const CalcSettings &settings, bool &fromTop)
{
    if (std::optional<SearchMessage> problem = CalcOperandProblem(settings))
        return problem;
    StartFromTopIfAsked(state, fromTop);
    state.CalcFormat = settings.format;
    if (state.FirstChange)
        state.FirstChange = false; // nothing is known to be selected yet: this press only searches
    else
        CalcReplaceValue(state, target, settings);
    if (FindNextText(state, target))
        return std::nullopt;
    SearchMessage message =
        EndCalcRun(state, QStringLiteral(" 回 データを変更しました."), QStringLiteral("データ変更"));
    fromTop = true;
    return message;
}

std::optional<SearchMessage> CalcNextFind(SearchState &state, SearchTarget &target, bool &fromTop)
{
    StartFromTopIfAsked(state, fromTop);
    if (FindNextText(state, target))
        return std::nullopt;
    return EndCalcRun(state, QStringLiteral(" 回変更いたしました。"), CalcChangeTitle);
}

qint64 CalcEveryHit(SearchState &state, SearchTarget &target, const CalcSettings &settings)
{
    target.ResetSelectionFormat();
    const QString &find = state.FindText;
    if (find.isEmpty())
        return 0;
    const QString text = target.Text();
    if (state.FindStart < 0 || state.FindStart > text.size())
        return 0;

    // Everything before the current search position is final, and the text from there on is still the
    // original: one pass over the original text gives the changed one.
    const QStringView source(text);
    CalcPass pass;
    nc::ReserveLargeText(pass.result, text.size() + text.size() / 8);
    const double operand = nc::ValueOfText(settings.operand);
    CalcNumberText read;
    QString value; // the room every new value is written in
    qsizetype hit = text.indexOf(find, state.FindStart);
    while (hit >= 0) {
        ReadCalcNumberInto(source, hit + find.size(), read);
        value.resize(0);
        const bool changed =
            !read.number.isEmpty() && AppendCalcValue(value, nc::ValueOfText(read.number), operand, settings);
        qsizetype next = 0;
        if (changed) {
            pass.result.append(source.mid(pass.copied, hit - pass.copied));
            pass.lastHit = pass.result.size();
            pass.result.append(find);
            if (read.equals)
                pass.result.append(u'=');
            pass.result.append(value);
            pass.copied = hit + find.size() + read.consumed;
            ++pass.changes;
            pass.lastHitChanged = true;
            // After a change the search goes on after the text just written, so the run always ends.
            pass.findStart = pass.result.size();
            next = pass.copied;
        } else {
            pass.lastHit = pass.result.size() + (hit - pass.copied);
            pass.lastHitChanged = false;
            pass.findStart = pass.lastHit + 1;
            next = hit + 1;
        }
        hit = text.indexOf(find, next);
    }
    if (pass.lastHit < 0)
        return 0;

    if (pass.changes > 0) {
        pass.result.append(source.mid(pass.copied));
        state.WorkText = pass.result;
        target.SetText(state.WorkText);
    }
    if (!pass.lastHitChanged) {
        // The last occurrence was only selected, after the last change of the text.
        target.KeepSelectionVisible();
        target.SetSelStart(pass.lastHit);
        target.SetSelLength(find.size());
    }
    state.FindStart = pass.findStart;
    state.FindCount += pass.changes;
    return pass.changes;
}

RunEnd CalcAllChange(SearchState &state, SearchTarget &target, const CalcSettings &settings, bool &fromTop)
{
    if (std::optional<SearchMessage> problem = CalcOperandProblem(settings))
        return {*problem, 0, false};
    state.CalcFormat = settings.format;
    if (fromTop)
        state.FindStart = 0; // the box stays checked
    if (state.FindStart > 1)
        state.FindStart -= 2;
    CalcEveryHit(state, target, settings);
    const qint64 count = state.FindCount;
    const RunEnd end{EndCalcRun(state, QStringLiteral(" 回変更しました。"), CalcChangeTitle), count};
    fromTop = true;
    return end;
}
