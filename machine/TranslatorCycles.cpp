#include "machine/TranslatorCycles.h"

#include "machine/TranslatorFormat.h"
#include "nc/NcNumber.h"

#include <algorithm>
#include <cmath>

using namespace translator;

namespace {

// Refused ranges remembered for blocks that come later; a program rarely has more cycles than this.
constexpr std::size_t RefusedProfilesKept = 16;

bool IsWhole(double value)
{
    return value == std::floor(value);
}

// A speed under half a revolution rounds to an S without a value: the call would go out without it.
bool IsWrittenWhole(double speed)
{
    QString word;
    AppendWhole(word, u" S", speed, u"#####");
    return !HoldsWordWithoutValue(word);
}

} // namespace

bool TranslatorCycles::KeepFirstBlock(const TranslatorLineValues &line)
{
    switch (line.CycleG) {
    case 71:
        if (line.UGiven)
            m_g71Depth = line.U;
        break;
    case 72:
        if (line.WGiven)
            m_g72Depth = double(line.W);
        break;
    case 73:
        if (line.UGiven)
            m_g73ReliefX = line.U;
        if (line.R != 0)
            m_g73Divisions = line.R;
        break;
    default:
        return false; // G70 has no first block
    }
    return !(line.XGiven || line.ZGiven || line.YGiven || line.CGiven || line.T > 0 || line.MCount > 0 ||
             !line.D.isEmpty());
}

std::optional<TranslatorCycles::Call> TranslatorCycles::CallOf(const TranslatorLineValues &line,
                                                               const TranslatorState &state) const
{
    if (!line.PGiven || !line.QGiven)
        return std::nullopt;
    // The call line carries the cycle's own words only; a position, a tool or an M code has no place there.
    if (line.XGiven || line.ZGiven || line.YGiven || line.CGiven || line.T > 0 || line.MCount > 0)
        return std::nullopt;
    const std::optional<double> first = line.PNumber();
    if (!first)
        return std::nullopt;
    Call call;
    call.fanucG = line.CycleG;
    call.first = *first;
    call.last = line.Q;
    if (call.fanucG == 70) {
        // The finish runs at the contour's own feeds and speeds: a feed, speed or allowance of the block
        // would be dropped.
        if (line.F > 0 || line.S > 0 || line.UGiven || line.WGiven)
            return std::nullopt;
        call.ospG = 87;
        return call;
    }
    double d = 0;
    if (call.fanucG == 73) {
        // The relief shrinks to nothing in divisions - 1 equal steps: each pass cuts that much deeper.
        std::optional<double> relief = m_g73ReliefX;
        std::optional<double> divisions = m_g73Divisions;
        if (!line.D.isEmpty()) {
            relief = line.I;
            divisions = TranslatorLineValues::NumberIn(line.D);
        }
        if (!relief || !divisions || !(*relief > 0) || !IsWhole(*divisions) || *divisions < 2)
            return std::nullopt;
        call.ospG = 86;
        d = 2 * *relief / (*divisions - 1);
    } else {
        const std::optional<double> depth = RoughingDepth(line, call.fanucG, state.Inch);
        if (!depth || !(*depth > 0))
            return std::nullopt;
        call.ospG = 85;
        call.transverse = call.fanucG == 72;
        // OSP's depth is a diameter where the levels step in X
        d = call.transverse ? *depth : 2 * *depth;
    }
    AppendWordOf(call.words, u" D", d);
    if (line.UGiven)
        AppendWordOf(call.words, u" U", line.U);
    if (line.WGiven)
        AppendWordOf(call.words, u" W", double(line.W));
    if (!FeedOf(line, state, call.words))
        return std::nullopt;
    if (line.S > 0) {
        if (!IsWrittenWhole(line.S))
            return std::nullopt;
        call.speed = line.S;
    }
    return call;
}

// FANUC roughs at the F of the block, or at the feed in force before it.
bool TranslatorCycles::FeedOf(const TranslatorLineValues &line, const TranslatorState &state,
                              QString &words) const
{
    const double feed = line.F > 0 ? line.F : state.LastF;
    if (!(feed > 0))
        return false;
    AppendWordOf(words, u" F", feed);
    return true;
}

// The depth of the one-block form is a D word in thousandths of a millimetre, without a decimal point;
// otherwise the one the first block kept.
std::optional<double> TranslatorCycles::RoughingDepth(const TranslatorLineValues &line, int g,
                                                      bool inch) const
{
    if (line.D.isEmpty())
        return g == 71 ? m_g71Depth : m_g72Depth;
    if (inch || line.D.contains(u'.'))
        return std::nullopt;
    const std::optional<double> d = TranslatorLineValues::NumberIn(line.D);
    if (!d)
        return std::nullopt;
    return *d / 1000;
}

const TranslatorCycles::Contour *TranslatorCycles::Find(const Call &call) const
{
    const auto found = m_contours.find({call.first, call.last});
    if (found == m_contours.end())
        return nullptr;
    // bar turning needs the contour of its own direction; copy turning and finishing take either
    const Contour &contour = found->second;
    return call.ospG != 85 || contour.transverse == call.transverse ? &contour : nullptr;
}

int TranslatorCycles::AddContour(const Call &call)
{
    if (m_lastLabel == MostContours)
        return 0;
    std::erase_if(m_refusedProfiles, [&](const auto &range) { return range.first == call.first; });
    m_contours[{call.first, call.last}] = Contour{call.first, call.last, ++m_lastLabel, call.transverse};
    return m_lastLabel;
}

void TranslatorCycles::DropContour(const Call &call, int label)
{
    m_contours.erase({call.first, call.last});
    if (label == m_lastLabel)
        --m_lastLabel;
}

QString TranslatorCycles::LabelName(int label)
{
    const QString digits = QString::number(label);
    return u"N"_qs + u"LAP"_qs.left(4 - digits.size()) + digits;
}

void TranslatorCycles::NoteRefusedProfile(double first, double last)
{
    std::erase_if(m_refusedProfiles, [&](const auto &range) { return range.first == first; });
    if (m_refusedProfiles.size() == RefusedProfilesKept)
        m_refusedProfiles.erase(m_refusedProfiles.begin());
    m_refusedProfiles.emplace_back(first, last);
}

std::optional<double> TranslatorCycles::RefusedProfileFrom(double first) const
{
    for (const auto &range : m_refusedProfiles)
        if (range.first == first)
            return range.second;
    return std::nullopt;
}
