#include "machine/Translator.h"

#include "machine/TranslatorContext.h"
#include "machine/TranslatorPass.h"
#include "nc/NcNumber.h"

namespace {

MReplacementKind KindOf(const QString &replacement)
{
    if (replacement == u"M05" || replacement == u"M05 M63")
        return MReplacementKind::SpindleStop;
    if (replacement == u"CALL")
        return MReplacementKind::Call;
    if (replacement == u"M02")
        return MReplacementKind::ProgramEnd;
    if (replacement == u"RTS")
        return MReplacementKind::SubprogramReturn;
    if (replacement == u"M00" || replacement == u"M01")
        return MReplacementKind::ProgramStop;
    if (replacement == u"M110")
        return MReplacementKind::RotaryToolOn;
    if (replacement == u"M109")
        return MReplacementKind::RotaryToolOff;
    return MReplacementKind::Plain;
}

} // namespace

TranslatorTableView::TranslatorTableView(const ConversionTable &table)
{
    const ConversionTableRow &pair = table.Row(2);
    FanucToOsp = pair.before && pair.before->startsWith(u"FANUC") && pair.after.startsWith(u"OSP");
    ToolGroups = table.Row(3).after == u"ON";
    MaxSpindleSpeed = table.Row(4).after;
    HomePosition = table.Row(5).after;
    // A row's M number is the value of its "before" text after the letter; an empty row names M0.
    for (int i = 0; i < MRowCount; ++i) {
        const ConversionTableRow &row = table.Row(FirstMRow + i);
        MNumbers[i] = float(nc::ValueOfText(QStringView(row.before.value_or(QString())).mid(1)));
        MReplacements[i] = row.after;
        MKinds[i] = KindOf(row.after);
    }
}

TranslationResult TranslateProgram(const QString &source, const ConversionTable &table,
                                   const TranslatorOptions &options)
{
    TranslatorPass pass(table, options);
    TranslationResult result;
    result.text = pass.Run(source);
    result.failed = pass.Failed();
    result.failure = pass.Failure();
    result.message = pass.FailureMessage();
    result.flaggedLines = pass.FlaggedLines();
    return result;
}

QString TranslatorIndexFailureMessage()
{
    return u"改行コードがLFのみかも知れません。\r\n"
           u"一旦キャンセルして[変換]→[改行コードにCR追加]を実行してみてください。"_qs;
}
