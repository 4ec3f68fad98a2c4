// Fuzzes replace-all, the calculation replace over every hit and the line-end repair on a plain text:
// no crash, no hang (every run ends), and the repair leaves no LF without its CR.
#include "search/CalcReplace.h"
#include "search/CalcRun.h"
#include "search/ReplaceRun.h"
#include "search/SearchState.h"
#include "search/StringTarget.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

bool EveryLfHasItsCr(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t choice = input.Choice();
    const QString find = QString::fromLatin1(input.Part());
    const QString with = QString::fromLatin1(input.Part());
    const QString text = QString::fromLatin1(input.Rest());

    SearchState state;
    StringTarget target(text);
    switch (choice % 3) {
    case 0:
        state.FindText = find;
        state.ReplaceText = with;
        (void)ReplaceEveryHit(state, target);
        break;
    case 1: {
        CalcSettings settings;
        settings.op = CalcOperator((choice / 3) % 4);
        settings.operand = with;
        settings.format = 1 + (choice / 12) % 4;
        if (!CalcOperandProblem(settings)) {
            state.FindText = find;
            (void)CalcEveryHit(state, target, settings);
        }
        break;
    }
    default:
        (void)RepairLineEnds(state, target);
        FuzzCheck(EveryLfHasItsCr(target.Text()));
        break;
    }
    return 0;
}
