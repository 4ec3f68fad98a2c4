#pragma once

#include "nc/NcNumber.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The words of one source line, reset before the line is read.
struct TranslatorLineValues
{
    static constexpr int MaxMCodes = 10;

    bool BlockDelete = false;
    int PlaneG = 0;
    int NoseRG = 0;
    int SpindleG = 0;
    int FeedModeG = 0; // the OSP feed mode code to write: 94 for G98, 95 for G99
    bool XGiven = false;
    bool YGiven = false;
    bool ZGiven = false;
    bool CGiven = false;
    bool UGiven = false;
    bool WGiven = false;
    double U = 0;
    float W = 0;
    double F = 0;
    double I = 0;
    double J = 0;
    double K = 0;
    double L = 0;
    double Q = 0;
    double R = 0;
    double S = 0;
    double H = -1;       // -1: no H word on the line
    QString P = u"0"_qs; // kept as read: it is written back as a program number
    float T = 0;
    std::array<float, MaxMCodes> MCodes{};
    int MCount = 0;
    QString CommentText;
    // A G word whose loss changes the program (units, work offset, incremental mode, rotation, mirror
    // image, polar interpolation): the rules drop it without a word, so the line is flagged.
    bool UntranslatableG = false;
    bool MacroCallG = false;     // a G65 or G66 word
    bool MacroStatement = false; // outside comments, "#", "GOTO", "WHILE [", "IF [", "DO1" or "END1"
    bool MainGGiven = false;     // a G word that sets the main G code
    int CycleG = 0;              // a G70 to G73 word: a multiple repetitive cycle block
    // The text of a sequence number that begins with a digit, in the line being read: read as a number
    // only by the few lines that are looked up by it.
    QStringView SequenceText;
    bool PGiven = false;
    bool QGiven = false;
    QString D; // the number after D as written, empty without one

    std::optional<double> Sequence() const { return NumberIn(SequenceText); }
    // P as a number (a sequence number the cycles name), when it reads wholly as one.
    std::optional<double> PNumber() const { return NumberIn(P); }

    static std::optional<double> NumberIn(QStringView text)
    {
        if (text.isEmpty() || !nc::ReadsWhollyAsNumber(text))
            return std::nullopt;
        return nc::ValueOfText(text);
    }

    // Keeps the comment buffer's storage: the reset runs once per line of programs of a million lines.
    void Reset()
    {
        QString comment = std::move(CommentText);
        comment.resize(0);
        *this = TranslatorLineValues();
        CommentText = std::move(comment);
    }
};

// Word values carried from line to line. X, Y, Z and C have no value until a word or a rule sets them:
// written out they give the empty text, in arithmetic they count as 0.
struct TranslatorWords
{
    std::optional<double> X;
    std::optional<double> Y;
    std::optional<double> Z;
    std::optional<double> C;
    // Whether the value came from a source word of its own letter. A rule that sets a marker clears it, U
    // and W only add to a value and keep its flag, and a value copied from another takes that one's flag.
    bool XFromSource = false;
    bool YFromSource = false;
    bool ZFromSource = false;
    bool CFromSource = false;
    QString ProgramNumber;
};

// The state of one translation, carried across lines.
struct TranslatorState
{
    // Markers for positions that hold no written coordinate.
    static constexpr double NotWritten = 0.12345;
    static constexpr double NotWrittenC = 9999;
    static constexpr double HomePosition = 9999;

    bool Mode = false;            // true when table row 2 names FANUC -> OSP
    std::optional<double> ModalG; // no value: no main G code yet
    double LastG = -1;            // -1: none, so the next G code is written
    double LastX = NotWritten;
    double LastZ = NotWritten;
    double LastY = NotWritten;
    double LastC = NotWrittenC;
    // Whether the last written position came from a source word: never for a marker.
    bool LastXFromSource = false;
    bool LastZFromSource = false;
    bool LastYFromSource = false;
    bool LastCFromSource = false;
    int NoseRMode = 40;
    int SpindleMode = 97;
    float LastS = 0;
    bool HeaderDone = false;
    double ToolNumber = 0;
    double LabelledTool = 0; // the tool last written as an "NT" label
    bool RotaryToolMode = false;
    double CycleTaper = 0;
    double ThreadTaper = 0;
    double LastF = 0;           // the last feed a source line gave
    bool Inch = false;          // G20 was read and no G21 after it
    bool MotionUnknown = false; // after a multiple repetitive cycle, until a line gives its main G code
};
