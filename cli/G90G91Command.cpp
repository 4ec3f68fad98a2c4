#include "cli/CliCommand.h"
#include "convert/G90G91Pass.h"

namespace {

std::unique_ptr<ConversionPass> G90G91PassFor(const CliOptions &options, QString &error)
{
    G90G91Options pass;
    const QString to = options.Value(QStringLiteral("to"), QStringLiteral("incremental"));
    if (to != u"incremental" && to != u"absolute") {
        error = QStringLiteral("--to must be incremental or absolute, not %1").arg(to);
        return nullptr;
    }
    pass.ToIncremental = to == u"incremental";
    // Each part is a start box's text: its value applies, as in the dialog.
    const QStringList start = options.Value(QStringLiteral("start"), QStringLiteral("0,0,0")).split(u',');
    if (start.size() != 3) {
        error = QStringLiteral("--start takes X,Y,Z");
        return nullptr;
    }
    pass.StartXText = start[0];
    pass.StartYText = start[1];
    pass.StartZText = start[2];
    pass.StartComment = options.flags.contains(QStringLiteral("start-comment"));
    pass.EndComment = options.flags.contains(QStringLiteral("end-comment"));
    pass.DecimalPoint = options.flags.contains(QStringLiteral("point"));
    return std::make_unique<G90G91Pass>(std::move(pass));
}

} // namespace

CliCommand G90G91Command()
{
    return LineByLineCommand(
        QStringLiteral("g90g91"),
        QStringLiteral("--to incremental|absolute  --start X,Y,Z (default 0,0,0)  [--start-comment] "
                       "[--end-comment] [--point]"),
        {QStringLiteral("to"), QStringLiteral("start")},
        {QStringLiteral("start-comment"), QStringLiteral("end-comment"), QStringLiteral("point")},
        G90G91PassFor);
}
