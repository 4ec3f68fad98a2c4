#pragma once

#include "nc/ConversionPass.h"

#include <QString>

// The rotary axis and the M codes (the digits after "M") for its two turning directions.
struct RotaryAxisOptions
{
    QString AxisLetter = QStringLiteral("C");
    QString ForwardCode = QStringLiteral("15");
    QString ReverseCode = QStringLiteral("16");
};

// Follows the angle of one rotary axis through the program and, where the shorter way to the next angle
// turns the other way than the direction in force, appends that direction's M code to the line. Nothing
// else in the program changes.
class RotaryAxisPass : public ConversionPass
{
public:
    explicit RotaryAxisPass(RotaryAxisOptions options);

    // The program with the M codes appended. Text after the last CR LF is examined as a line too, and
    // the result gets no line end the program did not have.
    QString Convert(const QString &source);

    bool WriteCarriedState(CarriedState &state) const override;

protected:
    void Prepare() override;
    void BeginLine() override;
    void HandleChar() override;
    void EndLine() override;

private:
    using ConversionPass::Run; // Convert keeps the program's own ending

    void ReadGWord();
    void ReadAngle();
    void ReadMWord();
    // The code to append for a move from the previous angle to the current one, or none.
    const QString *CodeForMove();

    RotaryAxisOptions m_options;
    // Only a single upper-case address letter names an axis; anything else matches no word.
    bool m_axisValid = false;
    QChar m_axis;
    double m_forwardValue = 0;
    double m_reverseValue = 0;
    double m_currentAngle = 0;
    float m_previousAngle = 0;
    bool m_forwardActive = true;
    double m_lineM = 0;
};

QString ConvertRotaryAxis(const QString &source, const RotaryAxisOptions &options);
