#include "TranslatorTestSupport.h"

using namespace translator_test;

namespace {

// Rapid to X50 Z5: the header is out, G00 is in force, X50 and Z5 are the last written position.
const Lines AtX50Z5 = {u"G00 X50. Z5."};

} // namespace

TEST(Translator, ProgramStructureLinesOfAFanucProgram)
{
    CheckCases(
        {
            {"whole small program",
             {},
             {u"%", u"O12", u"(TEST)", u"", u"G50 S2000", u"%"},
             {u"O0012", u"(TEST )", u"", u"NMAX G50 S3000", u"N000 G50 S2000"}},
            {"program number keeps four digits", {}, {u"O12345"}, {u"O12345"}},
            {"program number line drops its other words", AtX50Z5, {u"O0002 X10."}, {u"O0002"}},
            {"a G right after the program number is not read",
             {u"G01 X50. Z5. F0.2"},
             {u"O12G00", u"X40."},
             {u"O0012", u"N000     X40"}},
            {"comment line keeps what it closes with", {}, {u"(A)(B)"}, {u"(A B )"}},
            {"comment line left open", {}, {u"(OPEN"}, {u"(OPEN)"}},
            {"empty line", {}, {u""}, {u""}},
            {"special lines leave the header to the first ordinary line",
             {},
             {u"%", u"G00 X10."},
             {u"NMAX G50 S3000", u"N000 G00 X10"}},
        },
        StandardTable());
}

// Without the FANUC -> OSP pair in row 2 every line goes through the ordinary assembly. A line with no
// main G code yet takes G00 as new and writes it.
TEST(Translator, OtherMachinePairsHaveNoSpecialLines)
{
    ConversionTable table = StandardTable();
    table.Row(2).after = u"MELDAS"_qs;
    CheckCases(
        {
            {"percent line",
             {},
             {u"%", u"O12", u"(TEST)", u""},
             {u"NMAX G50 S3000", u"N000 G00", u"(-----<TEST >-----)"}},
        },
        table);
    table = StandardTable();
    table.Row(2).before.reset();
    CheckCases({{"row 2 before without value", {}, {u"%"}, {u"NMAX G50 S3000", u"N000 G00"}}}, table);
    table = StandardTable();
    table.Row(2).before = u"fanuc"_qs;
    CheckCases({{"case-sensitive", {}, {u"%"}, {u"NMAX G50 S3000", u"N000 G00"}}}, table);
}

TEST(Translator, SequenceLabels)
{
    CheckCases(
        {
            {"sequence numbers are not carried", AtX50Z5, {u"N10 G01 X40. F0.2"}, {u"N000 G01 X40 F0.2"}},
            {"a sequence number alone gives nothing", AtX50Z5, {u"N10"}, {}},
            {"NT01 is a sequence number, not a T word", AtX50Z5, {u"NT01 X40."}, {u"N000     X40"}},
            {"block delete", AtX50Z5, {u"/G01 X40. F0.2"}, {u"/N000 G01 X40 F0.2"}},
            {"block delete label is long enough not to pad", AtX50Z5, {u"/X40."}, {u"/N000 X40"}},
            {"slash later in the line is nothing", AtX50Z5, {u"X40. /"}, {u"N000     X40"}},
            {"tool label on the line after the T word",
             AtX50Z5,
             {u"T0101", u"G00 X20."},
             {u"N000 T010101", u"NT01 G00 X20"}},
            {"tool label of two digits",
             AtX50Z5,
             {u"T1212", u"G01 X20. F0.1"},
             {u"N000 T121212", u"NT12 G01 X20 F0.1"}},
            {"tool label pads like N000",
             {u"G00 X50. Z5.", u"G54"},
             {u"T0101", u"X40."},
             {u"N000 T010101", u"NT01     X40"}},
            {"header on the first line: no padding after it",
             {},
             {u"G86 X10."},
             {u"NMAX G50 S3000", u"N000 X10"}},
        },
        StandardTable());
}

TEST(Translator, CoordinatesPaddingAndIncrements)
{
    CheckCases(
        {
            {"unchanged X and G code are not written", AtX50Z5, {u"G00 X50. Z2."}, {u"N000     Z2"}},
            {"U from the last written X", {u"G00 X40. Z5."}, {u"U10."}, {u"N000     X50"}},
            {"W from the last written Z", AtX50Z5, {u"W-2."}, {u"N000     Z3"}},
            {"W is single precision, the written Z is kept rounded",
             AtX50Z5,
             {u"W-2.1", u"Z2.9"},
             {u"N000     Z2.9"}},
            {"the written X is the rounded one", AtX50Z5, {u"X10.0004", u"X10."}, {u"N000     X10"}},
            {"C, X, Y, Z in that order",
             AtX50Z5,
             {u"G01 Z1. Y2. X3. C4. F0.1"},
             {u"N000 G01 C4 X3 Y2 Z1 F0.1"}},
            {"C only when it changes",
             AtX50Z5,
             {u"C45.", u"C45.", u"C90."},
             {u"N000     C45", u"N000     C90"}},
            {"Y only when it changes", AtX50Z5, {u"Y10.", u"Y10."}, {u"N000     Y10"}},
            {"expressions are evaluated", AtX50Z5, {u"X[10+2*2]"}, {u"N000     X24"}},
            {"later word wins", AtX50Z5, {u"X10. X20."}, {u"N000     X20"}},
            {"lower-case letters are no words", AtX50Z5, {u"x10. X20."}, {u"N000     X20"}},
            {"words inside a comment are not read",
             AtX50Z5,
             {u"G00 (MOVE X10) X20."},
             {u"N000     X20( MOVE X10 )"}},
            {"an SB word of an OSP program is swallowed", AtX50Z5, {u"SB=500 X40."}, {u"N000     X40"}},
            {"U from the not-yet-written marker", {u"G00"}, {u"U10."}, {u"(要確認 U10. )"}},
            {"U from the marker although a dwell read an X word",
             {u"G04 X1."},
             {u"U10."},
             {u"(要確認 U10. )"}},
            {"G50 takes the flag with the position",
             {u"G00", u"G50 X10.", u"U1."},
             {u"X5."},
             {u"N000     X5"}},
        },
        StandardTable());
}

TEST(Translator, CircleWordsPlaneNoseRadiusFeedMode)
{
    CheckCases(
        {
            {"arc radius R becomes L",
             {u"G01 X30. Z0. F0.2"},
             {u"G02 X20. Z-10. R5."},
             {u"N000 G02 X20 Z-10 L5"}},
            {"arc centre words", AtX50Z5, {u"G03 X20. Z-10. I5. J1. K-3."}, {u"N000 G03 X20 Z-10 I5 J1 K-3"}},
            {"L and R both", AtX50Z5, {u"G02 X20. L3. R5."}, {u"N000 G02 X20 L3 L5"}},
            {"no circle words on a straight move",
             AtX50Z5,
             {u"G01 X20. I5. R2. F0.1"},
             {u"N000 G01 X20 F0.1"}},
            {"plane on every line that has one",
             AtX50Z5,
             {u"G18 G01 X20. F0.1", u"G18 X10."},
             {u"N000 G01 X20 G18 F0.1", u"N000     X10 G18"}},
            {"nose radius only when it changes",
             AtX50Z5,
             {u"G42 G01 X20. F0.1", u"G42 X30.", u"G40 G00 X50."},
             {u"N000 G01 X20 G42 F0.1", u"N000     X30", u"N000 G00 X50 G40"}},
            {"G40 while G40 is in force writes nothing", AtX50Z5, {u"G40 X60."}, {u"N000     X60"}},
            {"nose radius takes I and K",
             AtX50Z5,
             {u"G41 G01 X20. I0.4 K-0.2 F0.1"},
             {u"N000 G01 X20 G41 I0.4 K-0.2 F0.1"}},
            {"arc and nose radius both write I",
             AtX50Z5,
             {u"G02 X20. Z-10. I5. G41"},
             {u"N000 G02 X20 Z-10 I5 G41 I5"}},
            {"G98 gives G94 on every line",
             AtX50Z5,
             {u"G98 G01 X10. F100.", u"G98 X5."},
             {u"N000 G01 X10 G94 F100", u"N000     X5 G94"}},
            {"G99 gives G95", AtX50Z5, {u"G99"}, {u"N000 G95"}},
            {"feed with three decimals", AtX50Z5, {u"G01 X10. F0.12345"}, {u"N000 G01 X10 F0.123"}},
            {"no feed of 0", AtX50Z5, {u"G01 X10. F0"}, {u"N000 G01 X10"}},
        },
        StandardTable());
}

TEST(Translator, SpindleModeAndSpeed)
{
    CheckCases(
        {
            {"constant surface speed", AtX50Z5, {u"G96 S150 M03"}, {u"N000 G96 S150 M03"}},
            {"G97 without speed after G96: speed at the last diameter",
             AtX50Z5,
             {u"G96 S150", u"G97"},
             {u"N000 G96 S150", u"N000 G97 S955 M63"}},
            {"G97 with speed after G96",
             AtX50Z5,
             {u"G96 S150", u"G97 S1000"},
             {u"N000 G96 S150", u"N000 G97 S1000 M63"}},
            {"G97 without G96 before writes no G97 but the M63",
             AtX50Z5,
             {u"G97 S500 M03"},
             {u"N000 S500 M03 M63"}},
            {"G96 twice", AtX50Z5, {u"G96 S150", u"G96 S180"}, {u"N000 G96 S150", u"N000 S180"}},
            {"no second M63", AtX50Z5, {u"G97 S800 M15"}, {u"N000 S800 M05 M63"}},
            {"speed rounded to a whole number", AtX50Z5, {u"S1234.5"}, {u"N000 S1235"}},
            {"a speed that rounds to 0 has no digits", AtX50Z5, {u"S0.4"}, {u"(要確認 S0.4 )"}},
            {"speed from the last written S, at the last written X",
             {u"G00 X80. Z5.", u"G96 S200", u"G01 X40. F0.2"},
             {u"G97"},
             {u"N000 G97 S1592 M63"}},
        },
        StandardTable());
}

// A surface speed cannot become a spindle speed without a real diameter: the pass stops there.
TEST(Translator, SpindleSpeedWithoutDiameterFails)
{
    struct FailCase
    {
        const char *name;
        Lines lines;
        const char16_t *kept;
    } cases[] = {
        {"X written as 0",
         {u"G00 X0 Z5.", u"G96 S150", u"G97", u"X10."},
         u"NMAX G50 S3000\r\nN000 G00 X0 Z5\r\nN000 G96 S150\r\n"},
        {"X not yet written", {u"G96 S150", u"G97"}, u"NMAX G50 S3000\r\nN000 G00 G96 S150\r\n"},
        {"after a home return",
         {u"G00 X50. Z5.", u"G96 S150", u"G28 U0 W0", u"G97"},
         u"NMAX G50 S3000\r\nN000 G00 X50 Z5\r\nN000 G96 S150\r\nN000     X500 Z400\r\n"},
        {"on a line that would be checked",
         {u"G20", u"G96 S150", u"G97 G20"},
         u"NMAX G50 S3000\r\n(要確認 G20 )\r\nN000 G96 S150\r\n"},
    };
    for (const FailCase &c : cases) {
        const TranslationResult result = TranslateProgram(Program(c.lines), StandardTable(), {});
        EXPECT_TRUE(result.failed) << c.name;
        EXPECT_EQ(result.failure, TranslationFailure::Other) << c.name;
        EXPECT_FALSE(result.message.isEmpty()) << c.name;
        EXPECT_EQ(result.text.toStdString(), QString::fromUtf16(c.kept).toStdString()) << c.name;
    }
}

TEST(Translator, Comments)
{
    CheckCases(
        {
            {"a comment after the words", AtX50Z5, {u"G00 X10. (A)"}, {u"N000     X10( A )"}},
            {"comments of a line are joined", AtX50Z5, {u"X10. (A)(B)"}, {u"N000     X10( A B )"}},
            {"a line of a sequence number and a comment is a banner",
             AtX50Z5,
             {u"N10 (ROUGH)"},
             {u"(-----<ROUGH >-----)"}},
            {"a comment not at the start of the line is a banner",
             AtX50Z5,
             {u" (TEST)"},
             {u"(-----<TEST >-----)"}},
            {"a G code written keeps the comment a suffix", AtX50Z5, {u"G01 (CUT)"}, {u"N000 G01( CUT )"}},
            {"a banner does not make its G code modal",
             AtX50Z5,
             {u"G54 (OFFSET)", u"G00 X40."},
             {u"(-----<OFFSET >-----)", u"N000     X40"}},
            {"without the banner the G code is modal", AtX50Z5, {u"G54", u"G00 X40."}, {u"N000 G00 X40"}},
            {"a comment running into the next line",
             AtX50Z5,
             {u"X40. (OPEN", u"X99) X30."},
             {u"N000     X40( OPEN)", u"N000     X30( X99 )"}},
            {"a comment line continued",
             AtX50Z5,
             {u"(ABC", u"DEF)", u"X40."},
             {u"(ABC)", u"(-----<DEF >-----)", u"N000     X40"}},
            {"a lone closing line ends the comment",
             AtX50Z5,
             {u"(ABC", u")", u"X40."},
             {u"(ABC)", u"(-----< >-----)", u"N000     X40"}},
            // The first character of a continued line is comment text and is never taken for its ")".
            {"a continued line beginning with a closing bracket stays comment",
             AtX50Z5,
             {u"(NOTE", u")G00 X10.", u")", u"X40."},
             {u"(NOTE)", u"(-----< G00 X10.>-----)", u"(-----< >-----)", u"N000     X40"}},
            {"a continued line closed after its first character",
             AtX50Z5,
             {u"(NOTE", u")A) X40."},
             {u"(NOTE)", u"N000     X40(  A )"}},
            {"a continued line of one character other than the bracket",
             AtX50Z5,
             {u"(NOTE", u"A", u"B)", u"X40."},
             {u"(NOTE)", u"(-----<A>-----)", u"(-----<B >-----)", u"N000     X40"}},
        },
        StandardTable());
}

// A line whose output cannot be stood behind becomes one comment quoting it; everything else it did stands.
TEST(Translator, LinesToCheck)
{
    CheckCases(
        {
            {"the safe-start block, the header before it",
             {},
             {u"G18 G20 G40 G80 G90 G99", u"G96 S180 M03", u"G00 X50. Z2."},
             {u"NMAX G50 S3000", u"(要確認 G18 G20 G40 G80 G90 G99 )", u"N000 G96 S180 M03",
              u"N000 G00 X50 Z2"}},
            {"a safe-start block in millimetres",
             {},
             {u"G18 G40 G80 G90 G99"},
             {u"NMAX G50 S3000", u"N000 G18 G95"}},
            {"G20", AtX50Z5, {u"G20"}, {u"(要確認 G20 )"}},
            {"G55, whose move stands",
             AtX50Z5,
             {u"G55 G00 X10.", u"X10. Z1."},
             {u"(要確認 G55 G00 X10. )", u"N000     Z1"}},
            {"work offsets up to G59 and their extended forms",
             AtX50Z5,
             {u"G54.1 P1", u"G59.9", u"G60 X10.", u"G54 X20."},
             {u"(要確認 G54.1 P1 )", u"(要確認 G59.9 )", u"N000     X10", u"N000     X20"}},
            {"incremental, rotation, mirror image, polar interpolation",
             AtX50Z5,
             {u"G91", u"G68 X0 Z0 R30.", u"G69", u"G50.1 X0", u"G51.1 X0", u"G12.1", u"G13.1", u"G112",
              u"G113", u"G21"},
             {u"(要確認 G91 )", u"(要確認 G68 X0 Z0 R30. )", u"(要確認 G69 )", u"(要確認 G50.1 X0 )",
              u"(要確認 G51.1 X0 )", u"(要確認 G12.1 )", u"(要確認 G13.1 )", u"(要確認 G112 )",
              u"(要確認 G113 )", u"(要確認 G21 )"}},
            {"a macro loop",
             AtX50Z5,
             {u"#1=10.", u"WHILE [#1 GT 2.] DO1", u"G01 X40. F0.2", u"END1", u"IF[#2 EQ 0]GOTO 5", u"GOTO5"},
             {u"(要確認 #1=10. )", u"(要確認 WHILE [#1 GT 2.] DO1 )", u"N000 G01 X40 F0.2", u"(要確認 END1 )",
              u"(要確認 IF[#2 EQ 0]GOTO 5 )", u"(要確認 GOTO5 )"}},
            {"blanks before the bracket or the number",
             AtX50Z5,
             {u"WHILE  [1] DO 2", u"END 2", u"IF [1] THEN"},
             {u"(要確認 WHILE  [1] DO 2 )", u"(要確認 END 2 )", u"(要確認 IF [1] THEN )"}},
            {"no statement in a comment, in lower case or without its bracket or number",
             AtX50Z5,
             {u"G01 X40. F0.2 (#1 GOTO 5)", u"X30. (NOTE", u"IF [1] #2)", u"while [1]", u"M08 (END1)"},
             {u"N000 G01 X40 F0.2( #1 GOTO 5 )", u"N000     X30( NOTE)", u"(-----<IF [1] #2 >-----)",
              u"N000 M08( END1 )"}},
            {"the quoted line keeps to one comment line",
             AtX50Z5,
             {u"G20 (INCH)\rX1.\nZ2."},
             {u"(要確認 G20 [INCH] X1. Z2. )"}},
            {"the tool label waits for the next line",
             AtX50Z5,
             {u"T0101", u"G20", u"X40."},
             {u"N000 T010101", u"(要確認 G20 )", u"NT01     X40"}},
            {"a line that would give nothing", AtX50Z5, {u"N10 G74 R1. #1"}, {u"(要確認 N10 G74 R1. #1 )"}},
            {"special lines are never checked",
             {},
             {u"%", u"O1", u"(A) G20 #1", u""},
             {u"O0001", u"(A )", u""}},
        },
        StandardTable());
}

// The dwell is not modal; a tool line without a G code makes the next line write its G code again.
TEST(Translator, EndOfLineBookkeeping)
{
    CheckCases(
        {
            {"after a dwell the G code is written again",
             AtX50Z5,
             {u"G04 P1000", u"X60."},
             {u"N000 G04 F1", u"N000 G00 X60"}},
            {"a dwell when no G code was in force",
             {u"G00 X50. Z5.", u"T0101"},
             {u"G04 P1000", u"X40."},
             {u"NT01 G04 F1", u"N000 G00 X40"}},
            {"a tool line without G code", AtX50Z5, {u"T0101", u"X40."}, {u"N000 T010101", u"NT01 G00 X40"}},
            {"a tool line with a coordinate keeps the G code",
             AtX50Z5,
             {u"X20. T0101", u"X40."},
             {u"N000     X20 T010101", u"NT01     X40"}},
            // G50 takes back the G code of the line before; after a tool line that is none, which is
            // neither G00 nor "no main G code yet".
            {"no G code in force after G50 behind a tool line",
             AtX50Z5,
             {u"T0101", u"G50 S2000", u"X40.", u"G00 X30."},
             {u"N000 T010101", u"NT01 G50 S2000", u"N000     X40", u"N000 G00 X30"}},
        },
        StandardTable());
}

TEST(Translator, ALongProgramGivesALineForEachLine)
{
    // 20,000 lines through every kind of line assembly; the output has one line per input line here.
    QString program;
    const QString block = u"G01 X40. Z-10. F0.2\r\nX50.\r\nG00 Z5.\r\nX40.\r\n"_qs;
    for (int i = 0; i < 5000; ++i)
        program += block;
    const TranslationResult result = TranslateProgram(program, StandardTable(), {});
    ASSERT_FALSE(result.failed);
    EXPECT_EQ(result.text.count(u"\r\n"_qs), 1 + 20000);
}
