#include "search/ReplaceRun.h"

#include "nc/LargeText.h"
#include "search/SearchRoutines.h"

namespace {

const QString ReplaceTitle = QStringLiteral("置き換え");

// Ends a run: the count or the quoted search text, then the next Change press only searches again.
SearchMessage EndReplaceRun(SearchState &state, const QString &countText)
{
    SearchMessage message;
    message.title = ReplaceTitle;
    if (state.FindCount != 0)
        message.text = QString::number(state.FindCount) + countText;
    else
        message.text = u'"' + state.FindText + u'"' + QStringLiteral(" 見つかりませんでした。");
    state.FirstChange = true;
    state.FindCount = 0;
    return message;
}

const QString CountSpaced = QStringLiteral(" 回 変更しました。");
const QString CountIdeographic = QStringLiteral(" 回　変更しました。"); // U+3000 after 回

void StartFromTopIfAsked(SearchState &state, bool &fromTop)
{
    if (fromTop) {
        state.FindStart = 0;
        fromTop = false;
    }
}

} // namespace

std::optional<SearchMessage> ReplaceNextFind(SearchState &state, SearchTarget &target, bool &fromTop)
{
    StartFromTopIfAsked(state, fromTop);
    if (FindNextText(state, target))
        return std::nullopt;
    return EndReplaceRun(state, CountSpaced);
}

std::optional<SearchMessage> ReplaceChange(SearchState &state, SearchTarget &target, bool &fromTop)
{
    StartFromTopIfAsked(state, fromTop);
    if (state.FirstChange)
        state.FirstChange = false; // nothing is known to be selected yet: this press only searches
    else
        ReplaceFound(state, target);
    if (FindNextText(state, target))
        return std::nullopt;
    fromTop = true;
    return EndReplaceRun(state, CountIdeographic);
}

qint64 ReplaceEveryHit(SearchState &state, SearchTarget &target)
{
    target.ResetSelectionFormat();
    const QString &find = state.FindText;
    if (find.isEmpty())
        return 0;
    const QString text = target.Text();
    if (state.FindStart < 0 || state.FindStart > text.size())
        return 0;
    qsizetype hit = text.indexOf(find, state.FindStart);
    if (hit < 0)
        return 0;

    // After each replacement the search resumes right after the inserted text, that is at the end of
    // the hit in the original text: the hits are the non-overlapping ones of the original text.
    // Room for every hit made longer: a count that takes overlapping hits too is enough.
    const qsizetype longer = std::max<qsizetype>(0, state.ReplaceText.size() - find.size());
    QString result;
    nc::ReserveLargeText(result, text.size() + (longer > 0 ? text.count(find) * longer : 0));
    const QStringView source(text);
    qsizetype copied = 0;
    qint64 count = 0;
    while (hit >= 0) {
        result.append(source.mid(copied, hit - copied));
        result.append(state.ReplaceText);
        copied = hit + find.size();
        ++count;
        hit = text.indexOf(find, copied);
    }
    const qsizetype endOfLastInsert = result.size();
    result.append(source.mid(copied));

    state.WorkText = result;
    target.SetText(state.WorkText);
    state.FindStart = endOfLastInsert;
    state.FindCount += count;
    return count;
}

RunEnd ReplaceAllChange(SearchState &state, SearchTarget &target, bool &fromTop)
{
    if (fromTop)
        state.FindStart = 0; // the box stays checked
    // Two back, so that a hit of one or two characters just selected by a button is replaced too.
    if (state.FindStart > 1)
        state.FindStart -= 2;
    ReplaceEveryHit(state, target);
    const qint64 count = state.FindCount;
    const RunEnd end{EndReplaceRun(state, CountSpaced), count};
    fromTop = true;
    return end;
}

RunEnd RepairLineEnds(SearchState &state, SearchTarget &target)
{
    state.WorkText = target.Text();
    state.FindStart = 0;
    state.FindText = QStringLiteral("\n");
    state.ReplaceText = QStringLiteral("\r\n");
    // FindCount is deliberately not reset: a count left by an unfinished run is reported with this one.
    ReplaceEveryHit(state, target);
    const qint64 count = state.FindCount;
    return {EndReplaceRun(state, CountSpaced), count};
}
