#include "convert/ConvertText.h"

#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

namespace convert {

QString FormatValue3Single(float value)
{
    QString rounded = nc::FormatSingle(value, u"0.###");
    return nc::FormatValue3(rounded);
}

namespace {

// The word is looked for by its first character, which the library finds fast: it runs on every line.
qsizetype IndexOfWord(const QString &line, QStringView word)
{
    const QStringView text(line);
    for (qsizetype at = text.indexOf(word.front()); at >= 0; at = text.indexOf(word.front(), at + 1))
        if (text.sliced(at).startsWith(word))
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
