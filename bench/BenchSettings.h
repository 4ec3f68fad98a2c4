#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace bench {

// What a benchmark run is told on its command line: --sizes 10000,100000 --reps 3 --out FILE --keep DIR.
struct Settings
{
    QList<qsizetype> sizes = {10000, 100000, 1000000};
    int repetitions = 3;
    QString resultsPath;
    QString keepFolder; // where the generated programs are kept; a temporary folder when empty
};

// The settings of `args` (the program name first); `resultsPath` is the table written without --out.
Settings ParseSettings(const QStringList &args, const QString &resultsPath);

} // namespace bench
