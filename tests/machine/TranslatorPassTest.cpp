#include "machine/TranslatorPass.h"
#include "TranslatorTestSupport.h"
#include "tests/nc/PassInPieces.h"

#include <random>

using namespace translator_test;

// The state carried across lines (modal codes, positions, a comment left open, a cycle's blocks, a failure)
// comes out the same whether the program is translated whole or handed over in pieces cut anywhere, and a
// pass run again starts afresh.
TEST(TranslatorPass, PiecesGiveWhatTheWholeGives)
{
    const QString programs[] = {
        QString(),
        u"G00 X10. Z5."_qs,
        u"%\r\nO12\r\n(TEST)\r\nG50 S2000\r\nG00 X50. Z5. T0101 M03 S500\r\n%\r\n"_qs,
        u"G01 X1. (OPEN\r\nX10. M03\r\nZ2.) W-1.\r\nU2. Z3. F0.2\r\n"_qs,
        u"G00 X80. Z2.\r\nG90 X70. Z-30. R-2. F0.3\r\nX60.\r\nG00 X90.\r\nG96 S120\r\nG97\r\n"_qs,
        u"G74 R1.\r\nG74 X20. Z-10. P1000 Q2000 F0.1\r\nG83 X0 Z-5. R-1. Q500 F0.05\r\nZ-8.\r\nG80\r\n"_qs,
        u"G00 X10.\r\nM03 M77\r\nX20.\r\n"_qs,
        u"G00 X10.\nZ5.\r\r\nM30"_qs,
        u"G00 X1. (LEFT OPEN\r\nX2.\r\n"_qs,
        u"G00 X50. Z5.\r\n(NOTE\r\n)G00 X10.\r\n)A) X40.\r\n(B\r\n)\r\nX30.\r\n"_qs,
        u"G18 G20 G90\r\nT0101\r\n#1=2.\r\nU1.\r\nG00 X10. Z2.\r\nG90 X8. Z-5.\r\nM08\r\nX7.\r\n"_qs,
        u"G00 X62. Z5.\r\nG71 U2. R0.5\r\nG71 P10 Q20 U0.4 F0.25\r\n(C)\r\nN10 G00 X30.\r\nG01 Z-20. F0.1\r\n"
        u"N20 X62.\r\nG70 P10 Q20\r\nG71 P10 Q20 D1000 F0.2\r\nX70.\r\n"_qs,
        u"G00 X62. Z5.\r\nG71 P10 Q30 F0.2\r\nN10 G00 X30.\r\nN20 G01 Z-2.\r\nG90 X20. Z-5. F0.1\r\nN30 "
        u"X1.\r\n"
        u"G73 U3. R3\r\nG73 P1 Q2 F0.1\r\nN1 G01 X3.\r\n"_qs,
    };
    const ConversionTable table = StandardTable();
    std::mt19937 random(7);
    for (const QString &program : programs) {
        const TranslationResult whole = TranslateProgram(program, table, {});
        TranslatorPass pass(table, {});
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::vector<qsizetype> cuts;
            for (qsizetype at = 0; at <= program.size(); ++at)
                if (random() % 3 == 0)
                    cuts.push_back(at);
            ASSERT_EQ(RunPassInPieces(pass, program, cuts).toStdString(), whole.text.toStdString())
                << program.toStdString();
            ASSERT_EQ(pass.Failed(), whole.failed) << program.toStdString();
            ASSERT_EQ(pass.Failure(), whole.failure) << program.toStdString();
            ASSERT_EQ(pass.FlaggedLines(), whole.flaggedLines) << program.toStdString();
        }
    }
}
