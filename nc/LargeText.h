#pragma once

#include <QString>

// Room for a whole program's text. A program of a million lines fills tens of megabytes, and the system
// handing them over 4 KB at a time costs about as much as a simple conversion of the text: such a buffer
// is asked for in large pages where the system has them (on Linux).
namespace nc {

// Reserves room for `size` characters in the empty `text`.
void ReserveLargeText(QString &text, qsizetype size);

// The same advice for a buffer already allocated and not yet written.
void AdviseLargeBuffer(void *data, qsizetype bytes);

} // namespace nc
