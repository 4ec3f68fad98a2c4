// Fuzzes every conversion pass with each of its options over programs decoded from code page 932: no
// crash, no hang, the passes that rewrite words in place keep the program's lines, and a clean program
// converted in parts on several threads gives what one run gives.
#include "convert/G90G91Pass.h"
#include "convert/PointAddPass.h"
#include "convert/RotaryAxisPass.h"
#include "convert/SpacePass.h"
#include "convert/UnitPass.h"
#include "convert/XyCxPass.h"
#include "nc/ConversionPass.h"
#include "nc/PassInParts.h"
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

void CheckInParts(const nc::PassMaker &make, const QByteArray &bytes, uint8_t plan)
{
    if (!nc::IsCleanCp932(bytes))
        return;
    const nc::EncodedText whole = nc::EncodeCp932(make()->Run(nc::DecodeCp932(bytes).text));
    if (!whole.ok())
        return;
    QByteArray parted;
    const nc::PassPartsOutcome outcome =
        nc::RunPassInParts(make, bytes, [&parted](QByteArrayView piece) { parted.append(piece); },
                           {qsizetype(1 + plan % 64), 2 + plan % 3, qsizetype(plan % 7) * 16});
    FuzzCheck(parted == whole.bytes && outcome.unwritable < 0);
}

const char16_t *const StartTexts[] = {u"", u"10", u"-2.5", u"abc", u"1E3", u"0.0001"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t conversion = input.Choice() % 6;
    const uint8_t option = input.Choice();
    const QByteArray bytes = input.Rest();
    // The plan of parts comes from what is there already, so that stored inputs keep their meaning.
    const auto plan = uint8_t(option ^ uint8_t(bytes.size()));
    const QString program = nc::DecodeCp932(bytes).text;
    switch (conversion) {
    case 0: {
        const QString result = ConvertSpace(program, SpaceMode(option % 3));
        FuzzCheck(result.endsWith(u"\r\n") && KeepsLines(program, result));
        CheckInParts([option] { return SpaceConversion(SpaceMode(option % 3)); }, bytes, plan);
        break;
    }
    case 1: {
        const QString result = ConvertPointAdd(program, PointMode(option % 3));
        FuzzCheck(result.endsWith(u"\r\n") && KeepsLines(program, result));
        CheckInParts([option] { return PointAddConversion(PointMode(option % 3)); }, bytes, plan);
        break;
    }
    case 2: {
        const QString result = ConvertUnit(program, UnitOption(option % 6));
        FuzzCheck(result.endsWith(u"\r\n") && KeepsLines(program, result));
        CheckInParts([option] { return UnitConversion(UnitOption(option % 6)); }, bytes, plan);
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
        CheckInParts([options] { return std::make_unique<G90G91Pass>(options); }, bytes, plan);
        break;
    }
    case 4: {
        const XyCxDirection direction = option & 1 ? XyCxDirection::ToXy : XyCxDirection::ToCx;
        FuzzCheck(ConvertXyCx(program, direction).endsWith(u"\r\n"));
        CheckInParts([direction] { return std::make_unique<XyCxPass>(direction); }, bytes, plan);
        break;
    }
    default: {
        RotaryAxisOptions options;
        const char16_t *const axes[] = {u"C", u"A", u"c", u"", u"CC", u"B"};
        const char16_t *const codes[] = {u"15", u"16", u"", u"1.5", u"x", u"-3"};
        options.AxisLetter = QString::fromUtf16(axes[option % 6]);
        options.ForwardCode = QString::fromUtf16(codes[(option / 6) % 6]);
        options.ReverseCode = QString::fromUtf16(codes[(option / 36) % 6]);
        (void)ConvertRotaryAxis(program, options);
        CheckInParts([options] { return std::make_unique<RotaryAxisPass>(options); }, bytes, plan);
        break;
    }
    }
    return 0;
}
