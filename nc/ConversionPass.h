#pragma once

#include "nc/NcScanState.h"

#include <QString>
#include <functional>

// The state a pass keeps beside the scanner: the program, the bounds of the current line, the character
// being examined, and the modal values some conversions track.
struct ConversionPassState
{
    QString SourceText;
    qsizetype LineStart = 1; // 1-based start of the next line
    qsizetype LineEnd = 0;   // 1-based position of the CR LF that ends the current line
    QChar CurrentChar;
    bool InComment = false;
    double LineG = 0;
    int DistanceMode = 90;
};

// Called once per line with the 1-based start of the next line and the length of the program; returning
// false stops the pass (the caller discards the result).
using PassProgress = std::function<bool(qsizetype done, qsizetype total)>;

// The frame every line-by-line conversion shares: the program is cut into lines at CR LF (a lone CR or LF
// stays inside its line), every character outside comments is handed to the conversion, and each line is
// emitted with CR LF. A comment runs from "(" to ")" and may span lines.
class ConversionPass
{
public:
    virtual ~ConversionPass() = default;

    // Runs the pass over the whole program and returns the result text.
    QString Run(const QString &source);

    void SetProgress(PassProgress progress) { m_progress = std::move(progress); }
    // True when the conversion stopped with a failure; the result then holds the lines emitted so far.
    bool Failed() const { return m_failed; }
    QString FailureMessage() const { return m_failureMessage; }
    // True when the progress callback asked the pass to stop.
    bool Cancelled() const { return m_cancelled; }

protected:
    // Before the first line: read options, set modal values.
    virtual void Prepare() {}
    // At the start of each line, after `Line`, `LineLength` and `Pos` are set.
    virtual void BeginLine() {}
    // The conversion's own handling of `CurrentChar` at `Pos` (outside comments, or on the closing ")").
    virtual void HandleChar() = 0;
    // After the last character of the line; by default the line is emitted with CR LF.
    virtual void EndLine() { Emit(Scan.Line); }
    // After the last line.
    virtual void Finish() {}
    // Whether a program without a final CR LF gets one, so that its last line is converted too.
    virtual bool AppendsFinalLineEnd() const { return true; }

    void Emit(QStringView line);
    void EmitRaw(QStringView text);
    // Stops the pass after the current character; the result keeps what was emitted.
    void Fail(const QString &message);
    // Replaces `Line` from `from` through `to` (1-based, inclusive) by `text` and re-takes `LineLength`.
    void ReplaceInLine(qsizetype from, qsizetype to, QStringView text);
    bool Stopped() const { return m_failed || m_cancelled; }

    NcScanState Scan;
    ConversionPassState Pass;

private:
    void RunLine();
    void SkipComment();

    QString m_result;
    qsizetype m_resultSize = 0; // the characters of m_result written so far
    PassProgress m_progress;
    bool m_failed = false;
    bool m_cancelled = false;
    QString m_failureMessage;
};
