#pragma once

#include "machine/Translator.h"
#include "machine/TranslatorContext.h"
#include "machine/TranslatorCycles.h"
#include "machine/TranslatorGCodeRules.h"
#include "machine/TranslatorLineReader.h"
#include "machine/TranslatorToolAndMCodes.h"
#include "nc/ConversionPass.h"

#include <QStringList>
#include <functional>

// Assembles the output of each source line from its words and the state carried across lines. It runs in
// the frame of the line-by-line conversions, so that a program handed over in pieces is translated as it
// comes and neither the program nor its translation is ever held whole.
class TranslatorPass : public ConversionPass
{
public:
    TranslatorPass(const ConversionTable &table, const TranslatorOptions &options);

    // Which kind of failure stopped the translation; None when it did not stop.
    TranslationFailure Failure() const { return m_context.Failure; }
    // The lines written as a line to check ("(要確認 ...)") in the run so far.
    qsizetype FlaggedLines() const { return m_flaggedLines; }
    // Called with that count when a run reaches the end of the program (not when it stops with a failure).
    void SetFinished(std::function<void(qsizetype flaggedLines)> finished)
    {
        m_finished = std::move(finished);
    }

protected:
    void Prepare() override;
    void BeginLine() override;
    void HandleChar() override {}
    void EndLine() override;
    void Finish() override;

private:
    // Where the lines of a multiple repetitive cycle stand: a roughing call waits for the next line, its
    // profile is being read as the contour, or the profile of a cycle that could not be translated is
    // being shown for checking.
    enum class CyclePhase
    {
        None,
        CallWaiting,
        ReadingProfile,
        FlaggingProfile,
    };
    // A line read while a call waits: where its source ends in the held sources, and where what it gives
    // if the call is translated ends in the held output.
    struct HeldLine
    {
        qsizetype sourceEnd = 0;
        qsizetype outputEnd = 0;
        bool special = false;
    };
    // A roughing call waiting for its profile, with the state before it, taken back when the call is
    // refused and, for the positions, when its contour has been written: the control ends the cycle where
    // it began.
    struct WaitingCall
    {
        TranslatorCycles::Call call;
        QStringList blocks; // the cycle's source blocks
        QString prefix;     // the output before the sequence name of the call line
        TranslatorState state;
        TranslatorWords words;
        qsizetype flaggedLines = 0;
        std::optional<double> modalBefore;
        std::vector<HeldLine> held;
        QString sources;            // the held lines' sources, one after the other
        QString output;             // what the held lines give, one after the other
        qsizetype contourFrom = -1; // the first held line of the contour; -1 before it begins
        int label = 0;

        // Keeps the room of the held lines: a program may hold a cycle every dozen lines.
        void Clear()
        {
            held.clear();
            sources.resize(0);
            output.resize(0);
            blocks.clear();
            prefix.resize(0);
            contourFrom = -1;
            label = 0;
        }
    };

    // Whether the line that ends a waiting call goes on to be translated after it.
    enum class NextLine
    {
        Taken,
        Continues,
    };

    void HandleLine(const QString &line, std::optional<double> modalBefore);
    bool HandleWaitingCall(const QString &line, bool special);
    bool HandleProfile(const QString &line, bool special);
    void HandleCycleBlock(const QString &line, const QString &firstBlock, std::optional<double> modalBefore);
    void WriteFinishingCall(const TranslatorCycles::Contour &contour);
    void AppendCallComment(QString &out) const;
    bool StartContour();
    void ReadContourLine(const QString &line, bool special);
    void WriteContour();
    void EndCallWithoutProfile(NextLine next);
    void RefuseWaitingCall(NextLine next, const QString *profileLine = nullptr);
    void KeepWhatTheLineRead(const TranslatorState &read, const TranslatorWords &words);
    void EndCycle(NextLine next);
    void StartFlaggingProfile(double last, const QString &line);
    void HoldResult(const QString &line, bool special);
    bool ContourTakesLine(bool first) const;
    QString CallLineStart();
    void TranslateLine(const QString &line, bool mustCheck = false);
    void WriteLineToCheck(const QString &line, bool headerDone, double labelledTool, qsizetype outputFrom);
    void AppendLineToCheck(QString &out, QStringView line);
    void AssembleLine(bool headerDone, double labelledTool);
    // Empty, "%", program-number and comment lines keep a form of their own in the FANUC -> OSP mode.
    static bool IsSpecialLine(const QString &line);
    bool WriteSpecialLine(const QString &line);
    void AppendHeader();
    void AppendHeaderText(QString &out) const;
    void AppendSequenceLabel();
    void AppendCoordinates();
    void Pad();
    void AppendCircleWords();
    void AppendPlane();
    void AppendNoseRadius();
    void AppendFeedMode();
    void AppendSpindleMode();
    void AppendFeed();
    void AppendSpeed();
    void AppendSpindleStopForConstantSpeed();
    void AppendComment();
    void EndOfLine();

    TranslatorContext m_context;
    TranslatorLineReader m_reader;
    TranslatorGCodeRules m_gCodes;
    TranslatorToolAndMCodes m_toolAndM;
    TranslatorCycles m_cycles;
    CyclePhase m_phase = CyclePhase::None;
    WaitingCall m_waiting;
    QString m_firstBlock; // a first cycle block on the line before, quoted if its call is refused
    double m_flagUntil = 0;
    qsizetype m_flaggedInProfile = 0;
    qsizetype m_flaggedLines = 0;
    std::function<void(qsizetype)> m_finished;
};
