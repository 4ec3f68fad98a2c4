#pragma once

#include "machine/Translator.h"
#include "machine/TranslatorContext.h"
#include "machine/TranslatorGCodeRules.h"
#include "machine/TranslatorLineReader.h"
#include "machine/TranslatorToolAndMCodes.h"
#include "nc/ConversionPass.h"

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
    void TranslateLine(const QString &line);
    void WriteLineToCheck(const QString &line, bool headerDone, double labelledTool);
    void AssembleLine(bool headerDone, double labelledTool);
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
    qsizetype m_flaggedLines = 0;
    std::function<void(qsizetype)> m_finished;
};
