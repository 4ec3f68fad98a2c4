#pragma once

#include "machine/TranslatorContext.h"

// The T word and the M words of a line in OSP form: tool numbers in either tool mode, and the M codes
// replaced through the table, with the replacements that restructure the line.
class TranslatorToolAndMCodes
{
public:
    explicit TranslatorToolAndMCodes(TranslatorContext &context) : m_context(context) {}

    void AppendToolWord();
    // Stops the translation with the index failure when the table names no row for an M code.
    void AppendMWords();

private:
    int FindMRow(float m) const;
    void AppendReplacement(int row);
    void ActOnReplacement(MReplacementKind kind);

    TranslatorContext &m_context;
};
