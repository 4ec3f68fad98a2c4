#include "search/SearchRoutines.h"

#include "nc/LargeText.h"

bool FindNextText(SearchState &state, SearchTarget &target)
{
    target.ResetSelectionFormat();
    if (state.FindText.isEmpty())
        return false; // an empty text would be found everywhere and never move the search on
    const QString text = target.Text();
    if (state.FindStart < 0 || state.FindStart > text.size())
        return false; // a negative start would count from the end of the text
    const qsizetype hit = text.indexOf(state.FindText, state.FindStart);
    if (hit < 0)
        return false;
    target.KeepSelectionVisible();
    target.SetSelStart(hit);
    target.SetSelLength(state.FindText.size());
    state.FindStart = hit + state.FindText.size();
    return true;
}

QString SpliceText(const QString &text, qsizetype start, qsizetype removed, const QString &insert)
{
    const qsizetype head = qMin(start, text.size());
    const qsizetype tail = qMin(start + removed, text.size());
    QString result;
    nc::ReserveLargeText(result, head + insert.size() + (text.size() - tail));
    result.append(QStringView(text).left(head));
    result.append(insert);
    result.append(QStringView(text).mid(tail));
    return result;
}

void ReplaceFound(SearchState &state, SearchTarget &target)
{
    target.ResetSelectionFormat();
    const qsizetype start = target.SelStart();
    state.WorkText = SpliceText(state.WorkText, start, state.FindText.size(), state.ReplaceText);
    target.SetText(state.WorkText);
    state.FindStart = start + state.ReplaceText.size();
    ++state.FindCount;
}
