#pragma once

#include "machine/ConversionTable.h"
#include "machine/Translator.h"
#include "machine/TranslatorFormat.h"
#include "machine/TranslatorState.h"

#include <QString>
#include <array>

// What an M-code row's replacement does besides standing in the output, told once from its text.
enum class MReplacementKind
{
    Plain,
    SpindleStop,      // "M05" or "M05 M63"
    Call,             // "CALL"
    ProgramEnd,       // "M02"
    SubprogramReturn, // "RTS"
    ProgramStop,      // "M00" or "M01"
    RotaryToolOn,     // "M110"
    RotaryToolOff,    // "M109"
};

// What the table says, taken once when a translation starts so that no line reads the table again.
struct TranslatorTableView
{
    static constexpr int FirstMRow = 6;
    static constexpr int MRowCount = ConversionTable::RowCount - FirstMRow + 1;

    explicit TranslatorTableView(const ConversionTable &table);

    bool FanucToOsp = false; // row 2 names the machine pair
    bool ToolGroups = false; // row 3 is "ON"
    QString MaxSpindleSpeed; // row 4
    QString HomePosition;    // row 5
    std::array<float, MRowCount> MNumbers{};
    std::array<QString, MRowCount> MReplacements;
    std::array<MReplacementKind, MRowCount> MKinds{};
};

// Everything one translation shares between its steps: the table, the options, the state carried across
// lines, the words of the current line, the output line being assembled and the output of the line so far.
struct TranslatorContext
{
    TranslatorContext(const ConversionTable &table, const TranslatorOptions &options)
        : Table(table), Options(options)
    {
    }

    TranslatorTableView Table;
    TranslatorOptions Options;
    TranslatorState State;
    TranslatorWords Words;
    TranslatorLineValues Line;
    QString OutLine;
    QString Result; // what the current line gives; the pass hands it on when the line is done
    // The output line holds a position that no source word gave (a marker, or nothing at all).
    bool PositionNotFromSource = false;
    TranslationFailure Failure = TranslationFailure::None;
    QString FailureMessage;

    bool Failed() const { return Failure != TranslationFailure::None; }
    void Fail(TranslationFailure failure, const QString &message)
    {
        Failure = failure;
        FailureMessage = message;
    }
    void FailIndex() { Fail(TranslationFailure::Index, TranslatorIndexFailureMessage()); }
    void Emit(QStringView text)
    {
        Result += text;
        Result += u"\r\n";
    }
    // Appends a position word to the output line, noting whether a source word gave its value.
    void AppendPosition(QStringView address, std::optional<double> &value, bool fromSource)
    {
        translator::AppendWord(OutLine, address, value);
        PositionNotFromSource |= !fromSource;
    }
    void AppendPosition(QStringView address, double &value, bool fromSource)
    {
        translator::AppendWord(OutLine, address, value);
        PositionNotFromSource |= !fromSource;
    }
    void AppendPositionOf(QStringView address, double value, bool fromSource)
    {
        translator::AppendWordOf(OutLine, address, value);
        PositionNotFromSource |= !fromSource;
    }
};
