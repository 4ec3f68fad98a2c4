// Fuzzes every conversion pass with each of its options over programs decoded from code page 932: no
// crash, no hang, and the passes that rewrite words in place keep the program's lines.
#include "convert/G90G91Pass.h"
#include "convert/PointAddPass.h"
#include "convert/RotaryAxisPass.h"
#include "convert/SpacePass.h"
#include "convert/UnitPass.h"
#include "convert/XyCxPass.h"
#include "nc/ProgramText.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

qsizetype LinesOf(const QString &text)
{
    return text.count(u"\r\n") + (text.endsWith(u"\r\n") ? 0 : 1);
}

// A lone CR is an ordinary character, so removing the blank in "CR blank LF" makes a line end; only a
// program without lone CRs must keep its number of lines.
bool KeepsLines(const QString &program, const QString &result)
{
    if (program.count(u'\r') != program.count(u"\r\n"))
        return true;
    return LinesOf(result) == LinesOf(program);
}

const char16_t *const StartTexts[] = {u"", u"10", u"-2.5", u"abc", u"1E3", u"0.0001"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t conversion = input.Choice() % 6;
    const uint8_t option = input.Choice();
    const QString program = nc::DecodeCp932(input.Rest()).text;
    switch (conversion) {
    case 0: {
        const QString result = ConvertSpace(program, SpaceMode(option % 3));
        FuzzCheck(result.endsWith(u"\r\n") && KeepsLines(program, result));
        break;
    }
    case 1: {
        const QString result = ConvertPointAdd(program, PointMode(option % 3));
        FuzzCheck(result.endsWith(u"\r\n") && KeepsLines(program, result));
        break;
    }
    case 2: {
        const QString result = ConvertUnit(program, UnitOption(option % 6));
        FuzzCheck(result.endsWith(u"\r\n") && KeepsLines(program, result));
        break;
    }
    case 3: {
        G90G91Options options;
        options.ToIncremental = option & 1;
        options.StartComment = option & 2;
        options.EndComment = option & 4;
        options.DecimalPoint = option & 8;
        options.StartXText = QString::fromUtf16(StartTexts[(option >> 4) % 6]);
        options.StartZText = QString::fromUtf16(StartTexts[(option >> 5) % 6]);
        FuzzCheck(ConvertG90G91(program, options).endsWith(u"\r\n"));
        break;
    }
    case 4:
        FuzzCheck(
            ConvertXyCx(program, option & 1 ? XyCxDirection::ToXy : XyCxDirection::ToCx).endsWith(u"\r\n"));
        break;
    default: {
        RotaryAxisOptions options;
        const char16_t *const axes[] = {u"C", u"A", u"c", u"", u"CC", u"B"};
        const char16_t *const codes[] = {u"15", u"16", u"", u"1.5", u"x", u"-3"};
        options.AxisLetter = QString::fromUtf16(axes[option % 6]);
        options.ForwardCode = QString::fromUtf16(codes[(option / 6) % 6]);
        options.ReverseCode = QString::fromUtf16(codes[(option / 36) % 6]);
        (void)ConvertRotaryAxis(program, options);
        break;
    }
    }
    return 0;
}
