#include "bench/BenchSettings.h"

#include <algorithm>

namespace bench {

Settings ParseSettings(const QStringList &args, const QString &resultsPath)
{
    Settings settings;
    settings.resultsPath = resultsPath;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--sizes") {
            settings.sizes.clear();
            for (const QString &s : args[++i].split(u','))
                settings.sizes.append(s.toLongLong());
        } else if (args[i] == u"--reps") {
            settings.repetitions = std::max(1, args[++i].toInt());
        } else if (args[i] == u"--out") {
            settings.resultsPath = args[++i];
        } else if (args[i] == u"--keep") {
            settings.keepFolder = args[++i];
        }
    }
    return settings;
}

} // namespace bench
