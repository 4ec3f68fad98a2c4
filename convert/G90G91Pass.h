#pragma once

#include "convert/LineRewrite.h"
#include "nc/ConversionPass.h"

#include <QString>

// What the G90/G91 conversion is asked to do: the direction, the start point as the user typed it (the
// value of each text applies), and the optional comment lines and decimal points.
struct G90G91Options
{
    bool ToIncremental = true; // false: incremental to absolute
    QString StartXText;
    QString StartYText;
    QString StartZText;
    bool StartComment = false; // "(CONVERT START ...)" before the first converted line
    bool EndComment = false;   // "(END POINT ...)" after the last line
    bool DecimalPoint = false; // values always written with a decimal point, up to 4 decimals
};

// Rewrites the X, Y and Z words for the other distance mode while it follows the tool from the start
// point; the program's own G90/G91 words become comments and the new mode word goes in once, just
// before the first line whose coordinates changed.
class G90G91Pass : public ConversionPass
{
public:
    explicit G90G91Pass(G90G91Options options) : m_options(std::move(options)) {}

    bool WriteCarriedState(CarriedState &state) const override;

protected:
    void Prepare() override;
    void BeginLine() override;
    void HandleChar() override;
    void EndLine() override;
    void Finish() override;

private:
    enum class Header
    {
        NotYet,   // no coordinate converted so far
        ThisLine, // the current line converted the first one
        Written   // the header lines are out
    };

    void ReadGWord();
    void ConvertAxisWord(QChar axis);
    const QString &ValueText(double value);

    G90G91Options m_options;
    // X and Y follow the tool in double precision, Z in single precision.
    double m_currentX = 0;
    double m_currentY = 0;
    float m_currentZ = 0;
    Header m_headerState = Header::NotYet;
    // The line's rewritten form; rewriting in place would move the rest of a long line at every word.
    LineRewrite m_rewrite;
    QString m_valueText;
};

QString ConvertG90G91(const QString &source, const G90G91Options &options);
