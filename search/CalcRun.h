#pragma once

#include "search/CalcReplace.h"
#include "search/SearchMessage.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <optional>

// The calculation replace dialog's buttons. `fromTop` is its "先頭から開始" box. Each returns the message to
// show: the end of the run, or why the operand cannot be used (then nothing has changed). WorkText must
// equal the target's text (opening the dialog sees to that).

// "変　更": changes the value after the selected occurrence (except on the first press of a run) and
// selects the next occurrence.
std::optional<SearchMessage> CalcChange(SearchState &state, SearchTarget &target,
                                        const CalcSettings &settings, bool &fromTop);
// "スキップ": selects the next occurrence without changing anything.
std::optional<SearchMessage> CalcNextFind(SearchState &state, SearchTarget &target, bool &fromTop);
// "全て変更": changes every occurrence from FindStart on (two characters earlier, so that an occurrence
// just selected is included) and always ends the run. An operand that cannot be used gives its message
// and a run that did not run, and nothing changes.
RunEnd CalcAllChange(SearchState &state, SearchTarget &target, const CalcSettings &settings, bool &fromTop);

// Changes the value after every occurrence from FindStart on, as calling FindNextText and
// CalcReplaceValue until nothing is found would, each search after a change beginning after the text
// just written; in one pass over the text and with at most one setting of the target's text. Returns the
// number of changes (also added to FindCount).
qint64 CalcEveryHit(SearchState &state, SearchTarget &target, const CalcSettings &settings);
