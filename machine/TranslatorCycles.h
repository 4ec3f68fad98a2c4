#pragma once

#include "machine/TranslatorState.h"

#include <QString>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// FANUC's multiple repetitive cycles in the form of OSP's lathe auto-programming (LAP): a roughing cycle
// becomes a call (G85 bar turning, G86 copy turning) of a contour defined between "NLAPn G81" (or G82) and
// G80 from the FANUC blocks P..Q; G70 becomes the finishing call G87 of a contour defined before.
class TranslatorCycles
{
public:
    // No more contours than this in one program: sequence names run out at NL999.
    static constexpr int MostContours = 999;

    // What a cycle block with P and Q asks for.
    struct Call
    {
        int fanucG = 0;              // 70 to 73
        int ospG = 0;                // 85, 86 or 87
        double first = 0;            // P: the sequence number of the profile's first block
        double last = 0;             // Q: of its last block
        bool transverse = false;     // the contour is transverse (G82): G72
        QString words;               // what follows the sequence name on the call line
        std::optional<double> speed; // an S word of the block: OSP takes none on the call line
    };

    struct Contour
    {
        double first = 0;
        double last = 0;
        int label = 0;
        bool transverse = false;
    };

    void Reset() { *this = TranslatorCycles(); }

    // A first block (neither P nor Q) keeps its depth, retract, relief or divisions for the blocks after
    // it, as the control keeps them. False when it holds a word the first block does not take.
    static bool IsFirstBlock(const TranslatorLineValues &line) { return !line.PGiven && !line.QGiven; }
    bool KeepFirstBlock(const TranslatorLineValues &line);

    // The call a block with P and Q makes, or nothing when LAP has no counterpart for it (no depth or
    // feed known, a word the call cannot carry, a depth written in units the translation does not know).
    std::optional<Call> CallOf(const TranslatorLineValues &line, const TranslatorState &state) const;

    // The contour written before for the call's P and Q, when it suits the call.
    const Contour *Find(const Call &call) const;
    // Notes a new contour for the call and returns its label number, or 0 when the names have run out.
    int AddContour(const Call &call);
    // Forgets the contour `label` of the call, whose writing was given up: no later call names it, nor the
    // contour of the same blocks before it (which of the two the control would take is not known).
    void DropContour(const Call &call, int label);

    // The sequence name of contour `label`: NLAP1 to NLAP9, NLA10 to NLA99, NL100 to NL999 (four letters
    // and digits after N, beginning with a letter, like the translator's NMAX and NT01).
    static QString LabelName(int label);

    // The P..Q range of a cycle that could not be translated, whose blocks are shown for checking where
    // they come.
    void NoteRefusedProfile(double first, double last);
    bool RefusesProfiles() const { return !m_refusedProfiles.empty(); }
    // The last block of a refused profile that begins with sequence number `first`, if any.
    std::optional<double> RefusedProfileFrom(double first) const;

private:
    bool FeedOf(const TranslatorLineValues &line, const TranslatorState &state, QString &words) const;
    std::optional<double> RoughingDepth(const TranslatorLineValues &line, int g, bool inch) const;

    std::optional<double> m_g71Depth; // radius
    std::optional<double> m_g72Depth;
    std::optional<double> m_g73ReliefX; // radius
    std::optional<double> m_g73Divisions;
    std::map<std::pair<double, double>, Contour> m_contours; // by P and Q
    int m_lastLabel = 0;
    std::vector<std::pair<double, double>> m_refusedProfiles;
};
