#include "nc/PassInParts.h"

#include "convert/G90G91Pass.h"
#include "convert/PointAddPass.h"
#include "convert/RotaryAxisPass.h"
#include "convert/SpacePass.h"
#include "convert/UnitPass.h"
#include "convert/XyCxPass.h"
#include "nc/ConversionPass.h"
#include "nc/ProgramText.h"

#include <QList>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Programs full of what state hangs on: comments over several lines, modes switched back and forth,
// incremental moves, rotary angles, direction codes, expressions, lone CR and LF, Japanese comments.
QString RandomProgram(quint32 seed, int lines)
{
    QRandomGenerator random(seed);
    const auto pick = [&random](std::initializer_list<const char16_t *> texts) {
        return QString::fromUtf16(texts.begin()[random.bounded(int(texts.size()))]);
    };
    const auto number = [&random, &pick]() -> QString {
        switch (random.bounded(6)) {
        case 0:
            return QString::number(random.bounded(-9999, 9999));
        case 1:
            return QString::number(random.bounded(-99999, 99999) / 1000.0, 'f', random.bounded(4));
        case 2:
            return pick({u".", u"-.5", u"1.", u"-0.", u"123456789012", u"99999999.9999", u"7.5"});
        case 3:
            return u"["_qs + QString::number(random.bounded(100)) + pick({u"+", u"-", u"*", u"/"}) +
                   QString::number(random.bounded(1, 50)) + u"]"_qs;
        default:
            return QString::number(random.bounded(-500000, 500000) / 1000.0, 'f', 3);
        }
    };
    QString program;
    for (int i = 0; i < lines; ++i) {
        const int kind = random.bounded(20);
        if (kind == 0) {
            program += pick({u"(COMMENT", u"(工具交換", u"(X10. Y5."});
        } else if (kind == 1) {
            program += pick({u")", u"END)", u"G01 X1.)"});
        } else if (kind == 2) {
            program += pick({u"G90", u"G91", u"G94", u"G95", u"G96 S200", u"G97 S1500", u"G98", u"G99",
                             u"M15", u"M16", u"G04 X1.5", u"G04 U500", u"%", u"O1234"});
        } else if (kind == 3) {
            program += pick({u"", u"\r", u"\n", u"X1.\rY2.", u"Z3.\nC90."});
        } else {
            const int words = random.bounded(1, 7);
            for (int w = 0; w < words; ++w) {
                program += QChar(u"GXYZCUWIKRFSEMNTABDHL"[random.bounded(21)]) + number();
                program += pick({u" ", u" ", u"", u"  ", u"\t"});
            }
            if (random.bounded(8) == 0)
                program += pick({u"(ｶﾅ)", u"(注記", u"(A)B"});
        }
        program += u"\r\n";
    }
    if (random.bounded(2) == 0)
        program += u"X5.5 C180.";
    return program;
}

struct Conversion
{
    const char *name;
    nc::PassMaker make;
};

QList<Conversion> Conversions()
{
    G90G91Options toIncremental;
    toIncremental.StartXText = QStringLiteral("10");
    toIncremental.StartComment = true;
    toIncremental.EndComment = true;
    G90G91Options toAbsolute;
    toAbsolute.ToIncremental = false;
    toAbsolute.DecimalPoint = true;
    return {
        {"space add", [] { return SpaceConversion(SpaceMode::AddBlank); }},
        {"space number", [] { return SpaceConversion(SpaceMode::SequenceNumber); }},
        {"space remove", [] { return SpaceConversion(SpaceMode::RemoveBlanks); }},
        {"point", [] { return PointAddConversion(PointMode::Point); }},
        {"point remove", [] { return PointAddConversion(PointMode::Remove); }},
        {"unit um-mm", [] { return UnitConversion(UnitOption::UmToMm); }},
        {"unit inch-mm", [] { return UnitConversion(UnitOption::InchToMm); }},
        {"unit mm-inch", [] { return UnitConversion(UnitOption::MmToInch); }},
        {"unit mm-10um", [] { return UnitConversion(UnitOption::MmToTenUm); }},
        {"g90g91 incremental", [toIncremental] { return std::make_unique<G90G91Pass>(toIncremental); }},
        {"g90g91 absolute", [toAbsolute] { return std::make_unique<G90G91Pass>(toAbsolute); }},
        {"xycx cx", [] { return std::make_unique<XyCxPass>(XyCxDirection::ToCx); }},
        {"xycx xy", [] { return std::make_unique<XyCxPass>(XyCxDirection::ToXy); }},
        {"rotary", [] { return std::make_unique<RotaryAxisPass>(RotaryAxisOptions()); }},
    };
}

// A program that comes `block` bytes at a time, as a pipe hands over what its writer wrote: each wait
// takes blocks until it is over.
class ComingInBlocks : public nc::ArrivingBytes
{
public:
    ComingInBlocks(QByteArrayView bytes, qsizetype block) : m_bytes(bytes), m_block(block) {}

    nc::Arrived Await(qsizetype size) override
    {
        while (m_come <= size && m_come < m_bytes.size())
            m_come = std::min(m_bytes.size(), m_come + m_block);
        return {m_bytes.first(m_come), m_come == m_bytes.size(), false};
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_block;
    qsizetype m_come = 0;
};

// The program converted in parts, and unless told not to as it comes, which must give the same: a byte at a
// time for an odd piece size (all converted in line), else a few pieces at a time (mostly converted in
// parts once all came). A program that is no clean code page 932 is only converted as it comes, and gives
// nothing.
QByteArray ConvertedInParts(const nc::PassMaker &make, const QByteArray &bytes, const nc::PassPartsPlan &plan,
                            nc::PassPartsOutcome &outcome, bool asItComes = true)
{
    const bool clean = nc::IsCleanCp932(bytes);
    QByteArray result;
    if (clean)
        outcome = nc::RunPassInParts(
            make, bytes, [&result](QByteArrayView piece) { result.append(piece); }, plan);
    if (asItComes) {
        const qsizetype block = plan.pieceSize % 2 != 0 ? 1 : plan.pieceSize * 3 + 1;
        ComingInBlocks coming(bytes, block);
        QByteArray asItCame;
        const nc::PassPartsOutcome cameOutcome = nc::RunPassOnArrivingBytes(
            make, coming, [&asItCame](QByteArrayView piece) { asItCame.append(piece); }, plan);
        EXPECT_EQ(cameOutcome.notConverted, !clean) << "block " << block;
        if (!clean) {
            EXPECT_TRUE(asItCame.isEmpty()) << "block " << block;
            outcome = cameOutcome;
            return result;
        }
        EXPECT_EQ(asItCame, result) << "block " << block;
        EXPECT_EQ(cameOutcome.failed, outcome.failed) << "block " << block;
        EXPECT_EQ(cameOutcome.failureMessage, outcome.failureMessage) << "block " << block;
        EXPECT_EQ(cameOutcome.unwritable, outcome.unwritable) << "block " << block;
    }
    return result;
}

} // namespace

// Whatever the parts, the pieces and the lookback, the result is the one of a single run over the whole
// program; parts converted ahead are kept when their state was right and done again when it was not.
TEST(PassInParts, GivesWhatOneRunGives)
{
    struct Plan
    {
        qsizetype pieceSize;
        int parts;
        qsizetype lookback;
    };
    // Without a lookback a part starts from the pass's first state and is mostly converted again; with one,
    // most parts are kept.
    const Plan plans[] = {{64, 2, 0},    {23, 8, 0},    {50, 6, 0},  {200, 3, 150},
                          {37, 5, 1000}, {1000, 4, 40}, {5, 8, 300}, {100000, 2, 10}};
    int ahead = 0;
    int kept = 0;
    for (const Conversion &conversion : Conversions()) {
        for (quint32 seed = 1; seed <= 10; ++seed) {
            const QString program = RandomProgram(seed, 300);
            const QByteArray bytes = nc::EncodeCp932(program).bytes;
            ASSERT_TRUE(nc::IsCleanCp932(bytes));
            const QByteArray whole = nc::EncodeCp932(conversion.make()->Run(program)).bytes;
            for (const Plan &plan : plans) {
                nc::PassPartsOutcome outcome;
                // as the program comes too, for half the seeds
                const QByteArray parted = ConvertedInParts(
                    conversion.make, bytes, {plan.pieceSize, plan.parts, plan.lookback}, outcome, seed <= 5);
                EXPECT_EQ(parted, whole)
                    << conversion.name << " seed " << seed << " pieces " << plan.pieceSize << " parts "
                    << plan.parts << " lookback " << plan.lookback;
                EXPECT_FALSE(outcome.failed);
                EXPECT_EQ(outcome.unwritable, -1);
                ahead += outcome.partsAhead;
                kept += outcome.partsKept;
            }
        }
    }
    // Both ways were taken many times: parts kept, and parts done again.
    EXPECT_GT(kept, 100);
    EXPECT_GT(ahead - kept, 100);
}

TEST(PassInParts, EmptyAndTinyPrograms)
{
    // the last two are no clean code page 932 (a lead byte before a blank, a lone lead byte at the end):
    // nothing is converted as they come
    const char *programs[] = {
        "", "X1", "\r\n", "X1.5\r\n", "(A\r\nB)\r\nX2", "X1\r\n(\x81 )\r\n", "X1\r\nX2\x81"};
    for (const Conversion &conversion : Conversions()) {
        for (const char *text : programs) {
            const QByteArray bytes(text);
            const QByteArray whole =
                nc::IsCleanCp932(bytes)
                    ? nc::EncodeCp932(conversion.make()->Run(QString::fromLatin1(bytes))).bytes
                    : QByteArray();
            nc::PassPartsOutcome outcome;
            EXPECT_EQ(ConvertedInParts(conversion.make, bytes, {1, 4, 2}, outcome), whole)
                << conversion.name << ": " << text;
        }
    }
}

namespace {

// Numbers the lines since the last "RESET" line and stops with a failure at a "STOP" line: the count is
// the state a part must start with.
class CountingPass : public ConversionPass
{
public:
    bool WriteCarriedState(CarriedState &state) const override
    {
        WriteFrameState(state);
        state.Add(m_count);
        return true;
    }

protected:
    void HandleChar() override {}
    void EndLine() override
    {
        if (Scan.Line == u"STOP") {
            Fail(QStringLiteral("stopped at line %1").arg(m_count));
            return;
        }
        m_count = Scan.Line == u"RESET" ? 0 : m_count + 1;
        Emit(QString::number(m_count) + QChar(u' ') + Scan.Line);
    }

private:
    int m_count = 0;
};

} // namespace

// A failure in any part ends the result where one run would end it, with its message; what follows is
// never written.
TEST(PassInParts, StopsWhereOneRunStops)
{
    const nc::PassMaker make = [] { return std::make_unique<CountingPass>(); };
    for (int stopLine : {-1, 3, 40, 99, 150, 199}) {
        QString program;
        for (int i = 0; i < 200; ++i)
            program += (i == stopLine ? u"STOP"_qs
                        : i % 25 == 0 ? u"RESET"_qs
                                      : QString::number(i)) +
                       u"\r\n"_qs;
        CountingPass one;
        const QByteArray whole = nc::EncodeCp932(one.Run(program)).bytes;
        for (int parts : {2, 3, 7}) {
            nc::PassPartsOutcome outcome;
            EXPECT_EQ(ConvertedInParts(make, program.toLatin1(), {30, parts, 100}, outcome), whole)
                << "stop " << stopLine << " parts " << parts;
            EXPECT_EQ(outcome.failed, one.Failed());
            EXPECT_EQ(outcome.failureMessage, one.FailureMessage());
        }
    }
}
