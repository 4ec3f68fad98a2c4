#include "TranslatorTestSupport.h"
#include "machine/TranslatorCycles.h"

using namespace translator_test;

namespace {

const Lines AtX50Z5 = {u"G00 X50. Z5."};
const Lines AtX50Z2 = {u"G00 X50. Z2."};
const Lines AtX62Z5 = {u"G00 X62. Z5."};
const Lines Cutting = {u"G01 X30. Z0. F0.2"};
// A peck drilling cycle is in force, with C0 as the last C value read.
const Lines Drilling = {u"G00 X50. Z5. C0", u"G83 X0 Z-20. R-1. Q5000 F0.1"};

} // namespace

TEST(TranslatorGCodes, MotionAndDwell)
{
    CheckCases(
        {
            {"new motion codes are written",
             AtX50Z5,
             {u"G01 X40. F0.2", u"G02 X30. Z0 R5.", u"G03 X20. R5.", u"G00 X50."},
             {u"N000 G01 X40 F0.2", u"N000 G02 X30 Z0 L5", u"N000 G03 X20 L5", u"N000 G00 X50"}},
            {"G1 is G01", AtX50Z5, {u"G1 X40. F0.2"}, {u"N000 G01 X40 F0.2"}},
            {"no main G code yet is G00", {}, {u"X10. Z2."}, {u"NMAX G50 S3000", u"N000 G00 X10 Z2"}},
            {"dwell from P", AtX50Z5, {u"G04 P1500"}, {u"N000 G04 F1.5"}},
            {"dwell without time", AtX50Z5, {u"G04"}, {u"N000 G04 F0.01"}},
            {"dwell from X, which is not a move", AtX50Z5, {u"G04 X1.5"}, {u"N000 G04 F1.5"}},
            {"dwell from U", AtX50Z5, {u"G04 U0.5"}, {u"N000 G04 F0.5"}},
            {"X before U before P; the U left over is a move",
             AtX50Z5,
             {u"G04 U2. P3000 X1."},
             {u"N000 G04 F1 X52"}},
            {"a dwell writes no feed", AtX50Z5, {u"G04 P500 F0.2"}, {u"N000 G04 F0.5"}},
            {"a negative X is a move, not a time", AtX50Z5, {u"G04 X-1."}, {u"N000 G04 F0.01 X-1"}},
        },
        StandardTable());
}

TEST(TranslatorGCodes, HomeReturn)
{
    CheckCases(
        {
            {"after a cutting move",
             Cutting,
             {u"G28 U0 W0", u"G00 X50. Z5."},
             {u"N000 G00 X500 Z400", u"N000     X50 Z5"}},
            {"after a rapid move",
             AtX50Z5,
             {u"G28 U0 W0", u"G00 X50. Z5."},
             {u"N000     X500 Z400", u"N000     X50 Z5"}},
            {"G30", Cutting, {u"G30 U0 W0"}, {u"N000 G00 X500 Z400"}},
            {"G53", Cutting, {u"G53 X0 Z0"}, {u"N000 G00 X500 Z400"}},
            {"after a drilling cycle", Drilling, {u"G28 U0"}, {u"N000 G180", u"N000 G00 X500 Z400 M12 M63"}},
            {"with an H word nothing is written", Cutting, {u"G28 H0", u"X20."}, {u"N000     X20"}},
            {"a U word moves from the home marker", AtX50Z5, {u"G28 U10."}, {u"(要確認 G28 U10. )"}},
            {"after it a W word moves from the marker",
             Cutting,
             {u"G28 U0 W0", u"W-1."},
             {u"N000 G00 X500 Z400", u"(要確認 W-1. )"}},
        },
        StandardTable());
}

TEST(TranslatorGCodes, ThreadCuttingCoordinateSettingMacros)
{
    CheckCases(
        {
            {"G32 new and repeat",
             AtX50Z5,
             {u"G32 Z-20. F1.5", u"X48.", u"G32 Z-25."},
             {u"N000 G34 Z-20 F1.5", u"N000     X48", u"N000     Z-25"}},
            {"G50 with a speed", AtX50Z5, {u"G50 S2500"}, {u"N000 G50 S2500"}},
            {"G50 coordinate setting is dropped", AtX50Z5, {u"G50 X100. Z50.", u"X40."}, {u"N000     X40"}},
            {"G50 with U still moves", AtX50Z5, {u"G50 U10."}, {u"N000     X60"}},
            {"G50 keeps the motion code in force",
             Cutting,
             {u"G50 S2000", u"X20."},
             {u"N000 G50 S2000", u"N000     X20"}},
            {"G65 with arguments is checked",
             AtX50Z5,
             {u"G65 P9010 A1. B2.", u"X40."},
             {u"(要確認 G65 P9010 A1. B2. )", u"N000     X40"}},
            {"G65 without arguments calls",
             AtX50Z5,
             {u"N10 G65 P9010 L2 (A1.)", u"X40."},
             {u"N000 CALL O9010", u"N000     X40"}},
            {"G65 program number padded", AtX50Z5, {u"G65 P12"}, {u"N000 CALL O0012"}},
            {"G66 and G67",
             AtX50Z5,
             {u"G66 P9011", u"X40.", u"G67"},
             {u"N000 MODIN O9011", u"N000     X40", u"N000 MODOUT"}},
            {"G143",
             AtX50Z5,
             {u"G143", u"X40."},
             {u"N000(*** G143 自動ノーズR補正機能は無いため手動でG40,G41,G42を追加してください。***)",
              u"N000     X40"}},
            {"other G codes write nothing and stay in force", AtX50Z5, {u"G54", u"X40."}, {u"N000     X40"}},
            {"G86 is not an OSP drilling cycle",
             AtX50Z5,
             {u"G86 X0 Z-5. R-1. F0.1", u"G00 X50."},
             {u"N000     X0 Z-5 F0.1", u"N000 G180", u"N000 G00 X50"}},
        },
        StandardTable());
}

// FANUC writes G74, G75 and G76 in two blocks; the first gives no output, and whatever it would have
// carried (header, tool label) goes to the second.
TEST(TranslatorGCodes, GroovingAndThreadingCycles)
{
    CheckCases(
        {
            {"G74 two blocks",
             AtX50Z5,
             {u"G74 R1.", u"G74 X0 Z-30. Q2000 F0.1"},
             {u"N000 G74 X0 Z-30 D2 F0.1"}},
            {"G74 with P", AtX50Z5, {u"G74 X0 Z-30. P500 Q2000 F0.1"}, {u"N000 G74 X0 Z-30 I1 D2 F0.1"}},
            {"G75 two blocks",
             AtX50Z5,
             {u"G75 R1.", u"G75 X20. Z-30. P3000 Q500 F0.1"},
             {u"N000 G73 X20 Z-30 K0.5 D3 F0.1"}},
            {"G75 without Q", AtX50Z5, {u"G75 X20. Z-30. P3000 F0.1"}, {u"N000 G73 X20 Z-30 D3 F0.1"}},
            {"G76 two blocks",
             AtX50Z5,
             {u"G76 P011060 Q100 R0.05", u"G76 X18.2 Z-20. P900 Q300 F1.5"},
             {u"N000 G71 X18.2 Z-20 H1.8 D0.6 B55 U0.01 F1.5"}},
            {"G76 taper",
             AtX50Z5,
             {u"G76 X18.2 Z-20. R500 P900 Q300 F1.5"},
             {u"N000 G71 X18.2 Z-20 I0.5 H1.8 D0.6 B55 U0.01 F1.5"}},
            {"a cycle leaves its end point as the last position",
             AtX50Z5,
             {u"G74 X0 Z-30. Q2000 F0.1", u"G00 X0 Z5."},
             {u"N000 G74 X0 Z-30 D2 F0.1", u"N000 G00 Z5"}},
            {"a repeat goes on as coordinates",
             AtX50Z5,
             {u"G74 X0 Z-30. Q2000 F0.1", u"Z-35."},
             {u"N000 G74 X0 Z-30 D2 F0.1", u"N000     Z-35"}},
            {"the tool label waits for the second block",
             AtX50Z5,
             {u"T0303", u"G76 P011060 Q100 R0.05", u"G76 X18.2 Z-20. P900 Q300 F1.5"},
             {u"N000 T030303", u"NT03 G71 X18.2 Z-20 H1.8 D0.6 B55 U0.01 F1.5"}},
            {"the header waits for the second block",
             {},
             {u"G76 P011060 Q100 R0.05", u"G76 X18.2 Z-20. P900 Q300 F1.5"},
             {u"NMAX G50 S3000", u"N000 G71 X18.2 Z-20 H1.8 D0.6 B55 U0.01 F1.5"}},
            {"X never read is checked, the header before it",
             {},
             {u"G74 Z-30. Q2000 F0.1"},
             {u"NMAX G50 S3000", u"(要確認 G74 Z-30. Q2000 F0.1 )"}},
            {"a feed that rounds to 0 is no feed", AtX50Z5, {u"G74 X0 Z-30. Q2000 F0.0004"}, {}},
        },
        StandardTable());
}

TEST(TranslatorGCodes, DrillingCycles)
{
    CheckCases(
        {
            {"G83 then a rapid move",
             {u"G00 X50. Z5. C0"},
             {u"G83 X0 Z-20. R-1. Q5000 P500 F0.1", u"Z-25.", u"G00 X100."},
             {u"N000 G183 C0 X0 Z-20 K1 D5 E0.5 F0.1", u"N000      Z-25", u"N000 G180", u"N000 G00 X100"}},
            {"further holes", Drilling, {u"C90.", u"X5. C180."}, {u"N000      C90", u"N000      C180 X5"}},
            {"G81 with no C read yet",
             AtX50Z5,
             {u"G81 X0 Z-5. R-1. F0.1"},
             {u"(要確認 G81 X0 Z-5. R-1. F0.1 )"}},
            {"a cycle without a feed writes F0",
             {u"G00 X50. Z5. C0"},
             {u"G83 X0 Z-20. R-1. Q5000", u"Z-25."},
             {u"(要確認 G83 X0 Z-20. R-1. Q5000 )", u"N000      Z-25"}},
            {"G82 dwell",
             {u"G00 X50. Z5. C0"},
             {u"G82 X0 Z-5. R-1. P300 F0.1"},
             {u"N000 G181 C0 X0 Z-5 K1 E0.3 F0.1"}},
            {"G84 tapping writes no dwell",
             {u"G00 X50. Z5. C0"},
             {u"G84 X0 Z-10. R-2. P100 F1.25"},
             {u"N000 G178 C0 X0 Z-10 K2 F1.25"}},
            {"G85 boring",
             {u"G00 X50. Z5. C0"},
             {u"G85 X0 Z-10. R-2. P100 F0.1"},
             {u"N000 G189 C0 X0 Z-10 K2 E0.1 F0.1"}},
            {"G87 side drilling with repeats",
             {u"G00 X50. Z5. C0"},
             {u"G87 X10. Z-5. C30. R-1. Q2000 P100 F0.1 K3"},
             {u"N000 G183 C30 X10 Z-5 I1 D2 E0.1 F0.1 Q3"}},
            {"G88 side tapping",
             {u"G00 X50. Z5. C0"},
             {u"G88 X10. Z-5. R1. F1."},
             {u"N000 G178 C0 X10 Z-5 I1 F1"}},
            {"G89 side boring",
             {u"G00 X50. Z5. C0"},
             {u"G89 X10. Z-5. R-1. P200 F0.1"},
             {u"N000 G189 C0 X10 Z-5 I1 E0.2 F0.1"}},
            {"G80 cancels", Drilling, {u"G80", u"X100."}, {u"N000 G180", u"N000 G00", u"N000     X100"}},
            {"a cycle without the P word writes no E",
             {u"G00 X50. Z5. C0"},
             {u"G83 X0 Z-20. R-1. Q5000 F0.1"},
             {u"N000 G183 C0 X0 Z-20 K1 D5 F0.1"}},
            {"the C of a cycle line is not taken as written",
             {u"G00 X50. Z5. C0"},
             {u"G83 X0 Z-20. C45. R-1. Q5000 F0.1", u"C45."},
             {u"N000 G183 C45 X0 Z-20 K1 D5 F0.1", u"N000      C45"}},
        },
        StandardTable());
}

// Each block becomes four lines from the start point, the last written position.
TEST(TranslatorGCodes, OuterDiameterAndFaceCycles)
{
    CheckCases(
        {
            {"G90 straight",
             AtX50Z2,
             {u"G90 X40. Z-20. F0.2", u"X35."},
             {u"N000     X40", u"N000 G01 Z-20 F0.2", u"N000     X50", u"N000 G00 Z2", u"N000     X35",
              u"N000 G01 Z-20", u"N000     X50", u"N000 G00 Z2"}},
            {"G90 taper",
             AtX50Z2,
             {u"G90 X40. Z-20. R-1. F0.2", u"X35."},
             {u"N000     X38", u"N000 G01 X40 Z-20 F0.2", u"N000     X50", u"N000 G00 Z2", u"N000     X33",
              u"N000 G01 X35 Z-20", u"N000     X50", u"N000 G00 Z2"}},
            {"a straight G90 after a taper G90",
             AtX50Z2,
             {u"G90 X40. Z-20. R-1. F0.2", u"G00 X50. Z2.", u"G90 X40. Z-20. F0.2", u"X35."},
             {u"N000     X38", u"N000 G01 X40 Z-20 F0.2", u"N000     X50", u"N000 G00 Z2", u"N000 G00",
              u"N000     X40", u"N000 G01 Z-20 F0.2", u"N000     X50", u"N000 G00 Z2", u"N000     X35",
              u"N000 G01 Z-20", u"N000     X50", u"N000 G00 Z2"}},
            {"G94 straight",
             AtX50Z2,
             {u"G94 X20. Z-2. F0.1", u"Z-4."},
             {u"N000     Z-2", u"N000 G01 X20 F0.1", u"N000     Z2", u"N000 G00 X50", u"N000     Z-4",
              u"N000 G01 X20", u"N000     Z2", u"N000 G00 X50"}},
            {"G94 taper is not doubled",
             AtX50Z2,
             {u"G94 X20. Z-2. R-1. F0.1", u"Z-4."},
             {u"N000     Z-3", u"N000 G01 X20 Z-2 F0.1", u"N000     Z2", u"N000 G00 X50", u"N000     Z-5",
              u"N000 G01 X20 Z-4", u"N000     Z2", u"N000 G00 X50"}},
            {"the cycle writes no M words and the next G code is written",
             AtX50Z2,
             {u"G90 X40. Z-20. F0.2 M08", u"G00 X60."},
             {u"N000     X40", u"N000 G01 Z-20 F0.2", u"N000     X50", u"N000 G00 Z2", u"N000 G00 X60"}},
            {"a start point never written",
             {u"G00"},
             {u"G90 X40. Z-20. F0.2"},
             {u"(要確認 G90 X40. Z-20. F0.2 )"}},
            {"a line without an axis word is no block and leaves the cycle in force",
             AtX50Z2,
             {u"G90 X40. Z-20. F0.2", u"M08", u"X35."},
             {u"N000     X40", u"N000 G01 Z-20 F0.2", u"N000     X50", u"N000 G00 Z2", u"N000 M08",
              u"N000     X35", u"N000 G01 Z-20", u"N000     X50", u"N000 G00 Z2"}},
            {"not even a banner ends the cycle",
             AtX50Z2,
             {u"G94 X20. Z-2. F0.1", u"(NEXT)", u"N5 (NEXT)", u"Z-4."},
             {u"N000     Z-2", u"N000 G01 X20 F0.1", u"N000     Z2", u"N000 G00 X50", u"(NEXT )",
              u"(-----<NEXT >-----)", u"N000     Z-4", u"N000 G01 X20", u"N000     Z2", u"N000 G00 X50"}},
        },
        StandardTable());
}

TEST(TranslatorGCodes, ThreadCuttingCycle)
{
    CheckCases(
        {
            {"G92 straight",
             AtX50Z5,
             {u"G92 X19.4 Z-15. F1.5", u"X19."},
             {u"N000 G33 X19.4 Z-15 F1.5", u"N000     X19"}},
            {"G92 taper",
             AtX50Z5,
             {u"G92 X19.4 Z-15. I-0.5 F1.5", u"X19."},
             {u"N000 G33 X18.4 Z-15 I0.5 F1.5", u"N000     X18"}},
            {"a line without an axis word writes no G33",
             AtX50Z5,
             {u"G92 X19.4 Z-15. F1.5", u"M08", u"X19."},
             {u"N000 G33 X19.4 Z-15 F1.5", u"N000 M08", u"N000     X19"}},
            {"a straight G92 after a taper G92",
             AtX50Z5,
             {u"G92 X19.4 Z-15. I-0.5 F1.5", u"G00 X50.", u"G92 X19.4 Z-15. F1.5", u"X19."},
             {u"N000 G33 X18.4 Z-15 I0.5 F1.5", u"N000 G00 X50", u"N000 G33 X19.4 F1.5", u"N000     X19"}},
        },
        StandardTable());
}

// A roughing cycle calls its profile written once as the contour right after the call; the profile is
// never run as moves, and a cycle that cannot be called shows its blocks and its profile for checking.
TEST(TranslatorGCodes, TurningCyclesAsLap)
{
    CheckCases(
        {
            {"G71 and G70, worked by hand: the depth of cut as a diameter",
             AtX62Z5,
             {u"G71 U2. R0.5", u"G71 P10 Q20 U0.4 W0.1 F0.25 (ROUGH)", u"N10 G00 X30.", u"G01 Z-20. F0.15",
              u"G02 X40. Z-25. R5.", u"N20 G01 X62.", u"G70 P10 Q20 (FINISH)", u"G00 X200. Z150."},
             {u"N000 G85 NLAP1 D4 U0.4 W0.1 F0.25( ROUGH )", u"NLAP1 G81", u"N000 G00 X30",
              u"N000 G01 Z-20 F0.15", u"N000 G02 X40 Z-25 L5", u"N000 G01 X62", u"N000 G80",
              u"N000 G87 NLAP1( FINISH )", u"N000 G00 X200 Z150"}},
            {"G72 and G70 over a transverse contour, the depth along Z",
             {u"G00 X82. Z2."},
             {u"G72 W2. R0.5", u"G72 P30 Q40 U0.4 W0.1 F0.2", u"N30 G00 Z-20.", u"G01 X40.", u"N40 Z2.",
              u"G70 P30 Q40"},
             {u"N000 G85 NLAP1 D2 U0.4 W0.1 F0.2", u"NLAP1 G82", u"N000 G00 Z-20", u"N000 G01 X40",
              u"N000     Z2", u"N000 G80", u"N000 G87 NLAP1"}},
            {"G73 as copy turning, its relief over the divisions; a speed on a line before the call",
             {u"G00 X70. Z5."},
             {u"G73 U8. W0 R5", u"G73 P50 Q60 U0.4 W0.1 F0.2 S150", u"N50 G00 X30.", u"G01 Z-20. F0.1",
              u"N60 X70."},
             {u"N000 S150", u"N000 G86 NLAP1 D4 U0.4 W0.1 F0.2", u"NLAP1 G81", u"N000 G00 X30",
              u"N000 G01 Z-20 F0.1", u"N000     X70", u"N000 G80"}},
            {"the one-block G71, its depth in thousandths; the feed in force before it",
             {u"G00 X62. Z5.", u"G01 F0.3"},
             {u"G71 P10 Q20 U0.4 W0.1 D1500", u"N10 G01 X30.", u"N20 Z-20."},
             {u"N000 G85 NLAP1 D3 U0.4 W0.1 F0.3", u"NLAP1 G81", u"N000 G01 X30", u"N000     Z-20",
              u"N000 G80"}},
            {"a contour line with a code the contour does not take is checked",
             AtX62Z5,
             {u"G71 U1. R0.5", u"G71 P10 Q20 F0.2", u"N10 G00 G42 X30.", u"G01 Z-20. M08", u"G00 X40.",
              u"X45.", u"N20 G01 G40 X62."},
             {u"N000 G85 NLAP1 D2 F0.2", u"NLAP1 G81", u"(要確認 N10 G00 G42 X30. )",
              u"(要確認 G01 Z-20. M08 )", u"(要確認 G00 X40. )", u"(要確認 X45. )",
              u"(要確認 N20 G01 G40 X62. )", u"N000 G80"}},
            {"two cycles and the finish share one profile; a G72 cannot take a longitudinal one",
             AtX62Z5,
             {u"G71 U2. R0.5", u"G71 P10 Q20 U0.4 W0.1 F0.25", u"N10 G00 X30.", u"N20 G01 Z-20. F0.1",
              u"G73 U4. R3", u"G73 P10 Q20 U0.2 W0.05", u"G72 W1. R0.5", u"G72 P10 Q20", u"G70 P10 Q20"},
             {u"N000 G85 NLAP1 D4 U0.4 W0.1 F0.25", u"NLAP1 G81", u"N000 G00 X30", u"N000 G01 Z-20 F0.1",
              u"N000 G80", u"N000 G86 NLAP1 D4 U0.2 W0.05 F0.25", u"(要確認 G72 W1. R0.5 )",
              u"(要確認 G72 P10 Q20 )", u"N000 G87 NLAP1"}},
            {"a new profile of the same blocks gets the next name",
             AtX62Z5,
             {u"G71 U2. R0.5", u"G71 P10 Q20 F0.25", u"N10 G00 X30.", u"N20 G01 Z-20.", u"G71 P10 Q20",
              u"N10 G00 X40.", u"N20 G01 Z-10.", u"G70 P10 Q20"},
             {u"N000 G85 NLAP1 D4 F0.25", u"NLAP1 G81", u"N000 G00 X30", u"N000 G01 Z-20", u"N000 G80",
              u"N000 G85 NLAP2 D4 F0.25", u"NLAP2 G81", u"N000 G00 X40", u"N000 G01 Z-10", u"N000 G80",
              u"N000 G87 NLAP2"}},
            {"a Q that names no block: the cycle ends at the end of the program",
             AtX62Z5,
             {u"G71 U2. R0.5", u"G71 P10 Q99 U0.4 W0.1 F0.25", u"N10 G00 X30.", u"N20 G01 Z-20.", u"M30"},
             {u"(要確認 G71 U2. R0.5 )", u"(要確認 G71 P10 Q99 U0.4 W0.1 F0.25 )", u"(要確認 N10 G00 X30. )",
              u"(要確認 N20 G01 Z-20. )", u"NEND M02", u"", u"", u""}},
            // the checked line's position stands, as for every line to check
            {"no depth known: the blocks, the profile and a move without its G code after it are checked",
             AtX62Z5,
             {u"G71 P10 Q20 U0.4 W0.1 F0.25", u"N10 G00 X30.", u"G01 Z-20.", u"N20 X62.", u"X100.",
              u"G00 X100."},
             {u"(要確認 G71 P10 Q20 U0.4 W0.1 F0.25 )", u"(要確認 N10 G00 X30. )", u"(要確認 G01 Z-20. )",
              u"(要確認 N20 X62. )", u"(要確認 X100. )", u"N000 G00"}},
            {"forms without a counterpart: a D with a point, inch, a T word, one division, G70 alone, G70 "
             "with a feed, a speed that rounds to nothing",
             AtX62Z5,
             {u"G71 P1 Q2 D1.5 F0.2", u"G20", u"G71 P3 Q4 D1500 F0.2", u"G21", u"G71 U1.",
              u"G71 P5 Q6 F0.2 T0202", u"G73 U3. R1", u"G73 P7 Q8 F0.2", u"G70 P9 Q9",
              u"G71 P11 Q11 D1000 F0.2", u"N11 G01 X30.", u"G70 P11 Q11 F0.1", u"G71 P12 Q12 D1000 F0.2 S.4",
              u"N12 G01 X30."},
             {u"(要確認 G71 P1 Q2 D1.5 F0.2 )", u"(要確認 G20 )", u"(要確認 G71 P3 Q4 D1500 F0.2 )",
              u"(要確認 G21 )", u"(要確認 G71 U1. )", u"(要確認 G71 P5 Q6 F0.2 T0202 )",
              u"(要確認 G73 U3. R1 )", u"(要確認 G73 P7 Q8 F0.2 )", u"(要確認 G70 P9 Q9 )",
              u"N000 G85 NLAP1 D2 F0.2", u"NLAP1 G81", u"N000 G01 X30", u"N000 G80",
              u"(要確認 G70 P11 Q11 F0.1 )", u"(要確認 G71 P12 Q12 D1000 F0.2 S.4 )",
              u"(要確認 N12 G01 X30. )"}},
            {"a profile that comes later, after other lines, is checked where it comes",
             AtX62Z5,
             {u"G71 U2. R0.5", u"G71 P10 Q20 F0.25", u"G00 X70.", u"N10 G00 X30.", u"N20 G01 Z-20.",
              u"G00 X80.", u"G71 P30 Q40", u"N30 G01 X10.", u"M30"},
             {u"(要確認 G71 U2. R0.5 )", u"(要確認 G71 P10 Q20 F0.25 )", u"N000     X70",
              u"(要確認 N10 G00 X30. )", u"(要確認 N20 G01 Z-20. )", u"N000     X80",
              u"(要確認 G71 P30 Q40 )", u"(要確認 N30 G01 X10. )", u"NEND M02", u"", u"", u""}},
            {"a comment between the call and its profile; another cycle cuts a profile short, and its "
             "contour is no one's to call",
             AtX62Z5,
             {u"G71 U2. R0.5", u"G71 P10 Q20 F0.25", u"(FINISH)", u"N10 G00 X30.", u"G01 Z-20.",
              u"G90 X20. Z-5. F0.1", u"N20 X62.", u"G70 P10 Q20"},
             {u"(要確認 G71 U2. R0.5 )", u"(要確認 G71 P10 Q20 F0.25 )", u"(FINISH )",
              u"(要確認 N10 G00 X30. )", u"(要確認 G01 Z-20. )", u"N000     X20", u"N000 G01 Z-5 F0.1",
              u"N000     X62", u"N000 G00 Z5", u"(要確認 N20 X62. )", u"(要確認 G70 P10 Q20 )"}},
        },
        StandardTable());
}

TEST(TranslatorGCodes, ContourNamesKeepToFourCharactersAfterN)
{
    const std::pair<int, const char *> names[] = {{1, "NLAP1"},  {9, "NLAP9"},   {10, "NLA10"},
                                                  {99, "NLA99"}, {100, "NL100"}, {999, "NL999"}};
    for (const auto &[label, name] : names)
        EXPECT_EQ(TranslatorCycles::LabelName(label).toStdString(), name) << label;

    // when the names run out, a cycle is a line to check, never a call of a name used before
    QString program = u"G00 X62. Z5.\r\nG71 U2. R0.5\r\n"_qs;
    for (int i = 1; i <= 1000; ++i)
        program += u"G71 P%1 Q%1 F0.2\r\nN%1 G01 X30.\r\n"_qs.arg(i);
    const TranslationResult result = TranslateProgram(program, StandardTable(), {});
    EXPECT_TRUE(result.text.contains(u"\r\nNL999 G81\r\n"_qs));
    EXPECT_EQ(result.text.count(u" G85 "_qs), 999);
    EXPECT_TRUE(result.text.endsWith(u"(要確認 G71 P1000 Q1000 F0.2 )\r\n(要確認 N1000 G01 X30. )\r\n"_qs));
}
