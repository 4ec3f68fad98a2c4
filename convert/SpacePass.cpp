#include "convert/SpacePass.h"

#include "convert/LineRewrite.h"
#include "nc/ConversionPass.h"
#include "nc/NcNumber.h"

namespace {

// The sequence word a block gets when it begins with a G, M or T word, and when it begins with anything
// else: the nine-character form puts a leading axis word in the column where the X of "N000 G00 X" stands.
constexpr QStringView ShortSequenceWord = u"N000 ";
constexpr QStringView LongSequenceWord = u"N000     ";
constexpr QStringView GmPattern = u"##00";

class SpacePass : public ConversionPass
{
public:
    explicit SpacePass(SpaceMode mode) : m_mode(mode) { HandOnly(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ) "); }

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
        const QChar c = Pass.CurrentChar;
        if (nc::IsAddressLetter(c)) {
            HandleWord(c);
        } else if (c == u')') {
            Pass.InComment = false;
        } else if (c == u' ' && m_mode == SpaceMode::RemoveBlanks) {
            m_rewrite.Replace(Scan.Line, Scan.Pos, Scan.Pos, {});
        }
    }

private:
    void HandleWord(QChar letter)
    {
        const qsizetype letterPos = Scan.Pos;
        Scan.ReadNumber();
        if (Scan.Token.isEmpty())
            return;
        switch (m_mode) {
        case SpaceMode::AddBlank:
            AddBlankAfterWord();
            break;
        case SpaceMode::SequenceNumber:
            NumberWord(letter, letterPos);
            break;
        case SpaceMode::RemoveBlanks:
            break;
        }
    }

    // Only the space counts as the blank after a word: a tab there still gets a blank before it.
    bool BlankFollows() const { return Scan.Pos < Scan.LineLength && Scan.CharAt(Scan.Pos + 1) == u' '; }

    // No blank is put at the end of a line.
    void AddBlankAfterWord()
    {
        if (Scan.Pos < Scan.LineLength && !BlankFollows())
            m_rewrite.Replace(Scan.Line, Scan.Pos + 1, Scan.Pos, u" ");
    }

    void NumberWord(QChar letter, qsizetype letterPos)
    {
        const QChar first = m_rewrite.FirstChar(Scan.Line);
        if (first != u'O' && first != u'N')
            PutSequenceWord(first);
        else if (letter == u'N')
            DropUpToNWord();
        else if (letter == u'G' || letter == u'M')
            FormatCodeWord(letterPos);
        else
            AddBlankAfterWord();
    }

    // A block without its sequence word gets one in front, and its words are visited again from its first
    // character, now under the rules for a block that begins with "N". Nothing has been rewritten on this
    // line yet (every rewrite happens under those rules), so visiting again starts at the first character
    // not yet taken.
    void PutSequenceWord(QChar first)
    {
        const bool codeWordFirst = first == u'G' || first == u'M' || first == u'T';
        m_rewrite.Prepend(codeWordFirst ? ShortSequenceWord : LongSequenceWord);
        Scan.Pos = m_rewrite.Copied();
    }

    // The block's own sequence word goes, with everything before it and a single blank after it; the scan
    // starts again at the first character left.
    void DropUpToNWord()
    {
        const qsizetype cutStart =
            (Scan.Pos >= Scan.LineLength || BlankFollows()) ? Scan.Pos + 2 : Scan.Pos + 1;
        m_rewrite.RestartAt(Scan.Line, cutStart);
        Scan.Pos = cutStart - 1;
    }

    // G and M values get at least two digits and always one blank after them, even at the end of a line.
    void FormatCodeWord(qsizetype letterPos)
    {
        const bool blankFollows = BlankFollows();
        nc::FormatTextInto(Scan.Token, m_gmPattern, m_formatted);
        m_rewrite.Replace(Scan.Line, letterPos + 1, Scan.Pos, m_formatted);
        if (!blankFollows)
            m_rewrite.Replace(Scan.Line, Scan.Pos + 1, Scan.Pos, u" ");
    }

    SpaceMode m_mode;
    const nc::NumberPattern m_gmPattern = nc::NumberPattern::Of(GmPattern);
    LineRewrite m_rewrite;
    QString m_formatted; // the room every formatted value is written in
};

} // namespace

QString ConvertSpace(const QString &source, SpaceMode mode)
{
    SpacePass pass(mode);
    return pass.Run(source);
}

std::unique_ptr<ConversionPass> SpaceConversion(SpaceMode mode)
{
    return std::make_unique<SpacePass>(mode);
}
