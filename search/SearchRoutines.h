#pragma once

#include "search/SearchState.h"
#include "search/SearchTarget.h"

// Finds the next occurrence of FindText at or after FindStart in the target's text, selects it and moves
// FindStart past it. Returns false and changes nothing when there is none; an empty FindText finds
// nothing.
bool FindNextText(SearchState &state, SearchTarget &target);

// Replaces the selected hit by ReplaceText in WorkText and in the target, moves FindStart past the
// inserted text and counts the change. WorkText must equal the target's text.
void ReplaceFound(SearchState &state, SearchTarget &target);

// Text splices shared by the routines above and the whole-text runs: the first `start` characters of
// `text`, then `insert`, then `text` after its first `start + removed` characters.
QString SpliceText(const QString &text, qsizetype start, qsizetype removed, const QString &insert);
