#include "convert/PointAddPass.h"

#include "convert/LineRewrite.h"
#include "nc/ConversionPass.h"
#include "nc/NcNumber.h"

namespace {

// Program numbers, sequence numbers, subprogram and cycle parameters, G, S, T, V and M codes are counts
// or codes, not dimensions: their words keep their values as written.
bool IsDimensionLetter(QChar c)
{
    if (!nc::IsAddressLetter(c))
        return false;
    switch (c.unicode()) {
    case u'O':
    case u'N':
    case u'P':
    case u'Q':
    case u'G':
    case u'S':
    case u'T':
    case u'V':
    case u'M':
        return false;
    default:
        return true;
    }
}

class PointAddPass : public ConversionPass
{
public:
    explicit PointAddPass(PointMode mode) : m_mode(mode)
    {
        QString handed = QStringLiteral(")");
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            if (IsDimensionLetter(c))
                handed += QChar(c);
        HandOnly(handed);
    }

protected:
    void BeginLine() override { m_rewrite.Begin(); }
    // The rewrite starts anew on every line: only the frame's values outlive it.
    bool WriteCarriedState(CarriedState &state) const override
    {
        WriteFrameState(state);
        return true;
    }
    void EndLine() override { Emit(m_rewrite.Finish(Scan.Line)); }

    void HandleChar() override
    {
        if (IsDimensionLetter(Pass.CurrentChar)) {
            const qsizetype letterPos = Scan.Pos;
            Scan.ReadNumber();
            if (!Scan.Token.isEmpty()) {
                m_rewrite.Replace(Scan.Line, letterPos + 1, Scan.Pos, Formatted(Scan.Token));
                return;
            }
        }
        if (Pass.CurrentChar == u')')
            Pass.InComment = false;
    }

private:
    // A token that is not one number (1-2, a lone sign) comes back as written. The text is written in
    // the room of the one before.
    const QString &Formatted(QString &token)
    {
        switch (m_mode) {
        case PointMode::Point:
        case PointMode::PointZero:
            nc::FormatTextInto(token, m_pattern, m_formatted);
            break;
        case PointMode::Remove:
            m_formatted = nc::FormatValue4(token);
            break;
        }
        return m_formatted;
    }

    PointMode m_mode;
    const nc::NumberPattern m_pattern =
        nc::NumberPattern::Of(m_mode == PointMode::PointZero ? u"#####0.0###" : u"#####0.####");
    LineRewrite m_rewrite;
    QString m_formatted;
};

} // namespace

QString ConvertPointAdd(const QString &source, PointMode mode)
{
    PointAddPass pass(mode);
    return pass.Run(source);
}

std::unique_ptr<ConversionPass> PointAddConversion(PointMode mode)
{
    return std::make_unique<PointAddPass>(mode);
}
