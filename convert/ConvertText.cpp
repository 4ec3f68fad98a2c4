#include "convert/ConvertText.h"

#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

#include <algorithm>

namespace convert {

QString FormatValue3Single(float value)
{
    QString rounded = nc::FormatSingle(value, u"0.###");
    return nc::FormatValue3(rounded);
}

namespace {

// The word is looked for by its first character, which the library finds fast, and the rest compared
// character by character: it runs on every line, and most lines hold a G word that is not the one.
qsizetype IndexOfWord(const QString &line, QStringView word)
{
    const QStringView text(line);
    const qsizetype last = text.size() - word.size();
    for (qsizetype at = text.indexOf(word.front()); at >= 0 && at <= last;
         at = text.indexOf(word.front(), at + 1))
        if (std::equal(word.begin(), word.end(), text.begin() + at))
            return at;
    return -1;
}

} // namespace

void BracketFirst(QString &line, QStringView word)
{
    const qsizetype at = IndexOfWord(line, word);
    if (at < 0)
        return;
    line.insert(at + word.size(), u')');
    line.insert(at, u'(');
}

} // namespace convert
