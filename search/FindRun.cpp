#include "search/FindRun.h"

#include "search/SearchRoutines.h"

namespace {

const QString FindTitle = QStringLiteral("検索");

// The dialog's texts start with a blank, F3's do not.
SearchMessage FindEndMessage(const SearchState &state, const QString &countText, const QString &notFoundText)
{
    if (state.FindCount != 0)
        return {QString::number(state.FindCount) + countText, FindTitle};
    return {u'"' + state.FindText + u'"' + notFoundText, FindTitle};
}

} // namespace

std::optional<SearchMessage> FindDialogNext(SearchState &state, SearchTarget &target, bool &fromTop)
{
    if (fromTop) {
        state.FindStart = 0;
        fromTop = false;
    }
    if (FindNextText(state, target)) {
        ++state.FindCount;
        return std::nullopt;
    }
    const SearchMessage message = FindEndMessage(state, QStringLiteral(" 回 見つかりました。"),
                                                 QStringLiteral(" は見つかりませんでした。"));
    fromTop = true;
    state.FindCount = 0;
    return message;
}

std::optional<SearchMessage> FindNext(SearchState &state, SearchTarget &target)
{
    // One past the selection start: a selected hit is skipped, overlapping hits are found in turn.
    state.FindStart = target.SelStart() + 1;
    if (FindNextText(state, target)) {
        ++state.FindCount;
        return std::nullopt;
    }
    const SearchMessage message = FindEndMessage(state, QStringLiteral("回 見つかりました。"),
                                                 QStringLiteral("は見つかりませんでした。"));
    state.FindCount = 0;
    return message;
}
