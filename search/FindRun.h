#pragma once

#include "search/SearchMessage.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <optional>

// The Find dialog's search button: `fromTop` is its "先頭から検索" box. Returns the end-of-run message
// when nothing more was found (the box is then checked again).
std::optional<SearchMessage> FindDialogNext(SearchState &state, SearchTarget &target, bool &fromTop);

// Find next (F3): searches from one character after the caret or selection start. Returns the end-of-run
// message when nothing more was found; the caller then checks the Find dialog's "先頭から検索".
std::optional<SearchMessage> FindNext(SearchState &state, SearchTarget &target);
