#pragma once

#include "search/SearchMessage.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <optional>

// The Replace dialog's buttons. `fromTop` is its "先頭から開始" box. Each returns the end-of-run message
// when the run ended; WorkText must equal the target's text (opening the dialog sees to that).

// "スキップ": selects the next hit without replacing anything.
std::optional<SearchMessage> ReplaceNextFind(SearchState &state, SearchTarget &target, bool &fromTop);
// "変　更": replaces the selected hit (except on the first press of a run) and selects the next one.
std::optional<SearchMessage> ReplaceChange(SearchState &state, SearchTarget &target, bool &fromTop);
// "全て変更": replaces every hit from FindStart on (two characters earlier, so that a hit just selected
// is included) and always ends the run.
RunEnd ReplaceAllChange(SearchState &state, SearchTarget &target, bool &fromTop);

// Replaces every hit of FindText from FindStart on, as calling FindNextText and ReplaceFound until
// nothing is found would, but in one pass over the text and with one setting of the target's text.
// Returns the number of replacements (also added to FindCount).
qint64 ReplaceEveryHit(SearchState &state, SearchTarget &target);

// The line-end repair: a CR before every LF of the whole text. Returns its message; the caller then
// checks the Replace dialog's "先頭から開始".
RunEnd RepairLineEnds(SearchState &state, SearchTarget &target);
