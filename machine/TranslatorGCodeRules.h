#pragma once

#include "machine/TranslatorContext.h"

// What the main G code of a line writes into the output line.
class TranslatorGCodeRules
{
public:
    enum class Outcome
    {
        Continue,  // the line goes on with its coordinates and the rest
        LineEnded, // the rule wrote and emitted the whole output of the line
        NoOutput,  // the line gives no output at all (first block of a two-block cycle)
        // The line goes on as under a G code that writes nothing, and its end leaves the main G code in
        // force and the last written one as they were (a turning cycle on a line without an axis word).
        ContinueCycleKept,
    };

    explicit TranslatorGCodeRules(TranslatorContext &context) : m_context(context) {}

    Outcome Apply();

private:
    bool IsNew() const;
    bool GivesAxisWord() const;
    bool DrillingCycleInForce() const;
    Outcome Motion();
    Outcome Dwell();
    Outcome HomeReturn();
    Outcome ThreadCutting();
    Outcome CoordinateSetting();
    Outcome MacroCall();
    Outcome ModalMacroCall();
    Outcome ModalMacroCancel();
    Outcome GroovingOrThreadingCycle(int g);
    Outcome CycleCancel();
    Outcome DrillingCycle(int g);
    Outcome OuterDiameterCycle();
    Outcome FaceCycle();
    Outcome ThreadCuttingCycle();
    Outcome AutomaticNoseRadius();
    Outcome EndLine();

    TranslatorContext &m_context;
};
