#pragma once

#include "machine/TranslatorContext.h"
#include "nc/NcScanState.h"

// Reads every word of one source line into the line values and the carried word values, and gathers the
// comment text. Comment text is never read as words; a comment may run over several lines.
class TranslatorLineReader
{
public:
    explicit TranslatorLineReader(TranslatorContext &context) : m_context(context) {}

    // Reads `line`; stops early when the context fails (an eleventh M word).
    void Read(const QString &line);
    // Forgets a comment left open by the lines read before: a new translation begins outside any comment.
    void Reset() { m_inComment = false; }
    // Whether the line read last holds, outside comments, a macro statement ("#", "GOTO", "WHILE [",
    // "IF [", "DO1", "END1") or, with a G65 or G66 word, a macro argument: the translation has nothing
    // for either.
    bool HoldsMacroStatement() const
    {
        const TranslatorLineValues &line = m_context.Line;
        return line.MacroStatement || (line.MacroCallG && HoldsMacroArgument());
    }

private:
    void ReadComment();
    // Notes a macro statement that begins among the characters `from` to `to` (1-based) of the line.
    void NoteStatementChars(qsizetype from, qsizetype to);
    bool HoldsMacroArgument() const;
    void HandleChar(QChar c);
    void ReadProgramNumber();
    void ReadGWord();
    void ReadMWord();
    void ReadSWord();
    // Reads an expression; true with its value when the word had one.
    bool ReadValue(double &value);

    TranslatorContext &m_context;
    NcScanState m_scan;
    bool m_inComment = false;
    bool m_startedInComment = false; // the line read last began inside a comment
};
