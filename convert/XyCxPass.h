#pragma once

#include "nc/ConversionPass.h"

#include <QString>

enum class XyCxDirection
{
    ToCx, // X/Y positions become C (angle in degrees) and X (diameter)
    ToXy  // C and X become X/Y positions
};

// Replaces the pair of position words of each line by the other pair, computed from the values in force.
// A line that already holds a word of the target pair (C, or Y) is copied as it stands; a word that
// comes out as it was on the last converted line is left out.
class XyCxPass : public ConversionPass
{
public:
    explicit XyCxPass(XyCxDirection direction) : m_direction(direction) { HandOnly(u"GXYC)"); }

    bool WriteCarriedState(CarriedState &state) const override;

protected:
    void Prepare() override;
    void BeginLine() override;
    void HandleChar() override;
    void EndLine() override;

private:
    // Where a word stands in `Line`: its letter and the last character of its value (1-based; 0 when the
    // line has no such word).
    struct WordSpan
    {
        qsizetype letter = 0;
        qsizetype end = 0;
    };

    void ReadGWord();
    void ReadSourceWord(WordSpan &span, double &last);
    void ReadTargetWord(double &last);
    double Absolute(double last, double read) const;
    void PolarLine();
    void CartesianLine();
    void JoinWords(WordSpan a, WordSpan b, QChar firstLetter, QStringView first, QChar secondLetter,
                   QStringView second, bool dropLoneBlank);

    XyCxDirection m_direction;
    double m_lastX = 0;
    double m_lastY = 0;
    double m_lastC = 0;
    QString m_lastXText;
    QString m_lastYText;
    QString m_lastCText;
    WordSpan m_x;
    WordSpan m_y;
    WordSpan m_c;
    bool m_targetWordSeen = false;
    // Rooms used again on every line: the converted line and the new texts of the pair.
    QString m_line;
    QString m_firstText;
    QString m_secondText;
};

QString ConvertXyCx(const QString &source, XyCxDirection direction);
