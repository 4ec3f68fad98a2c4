#include "convert/ConvertText.h"

#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

namespace convert {

QString FormatValue3Single(float value)
{
    QString rounded = nc::FormatSingle(value, u"0.###");
    return nc::FormatValue3(rounded);
}

void BracketFirst(QString &line, QStringView word)
{
    const qsizetype at = line.indexOf(word);
    if (at < 0)
        return;
    line.insert(at + word.size(), u')');
    line.insert(at, u'(');
}

} // namespace convert
