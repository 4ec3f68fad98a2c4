#include "app/window/RtfText.h"

#include "nc/ProgramText.h"

#include <string_view>
#include <vector>

namespace rtf {
namespace {

// Groups whose text is not part of the document when they begin with one of these words.
constexpr std::string_view SkippedDestinations[] = {"fonttbl",
                                                    "colortbl",
                                                    "stylesheet",
                                                    "info",
                                                    "pict",
                                                    "object",
                                                    "header",
                                                    "headerl",
                                                    "headerr",
                                                    "headerf",
                                                    "footer",
                                                    "footerl",
                                                    "footerr",
                                                    "footerf",
                                                    "footnote",
                                                    "fldinst",
                                                    "listtable",
                                                    "listoverridetable",
                                                    "rsidtbl",
                                                    "revtbl",
                                                    "filetbl",
                                                    "themedata",
                                                    "colorschememapping",
                                                    "datastore",
                                                    "latentstyles",
                                                    "generator",
                                                    "xmlnstbl",
                                                    "mmathPr",
                                                    "pgdsctbl",
                                                    "template",
                                                    "xe",
                                                    "tc",
                                                    "private"};

bool IsSkippedDestination(std::string_view word)
{
    for (const std::string_view name : SkippedDestinations) {
        if (name == word)
            return true;
    }
    return false;
}

// Deeper groups than this share the state of the deepest one kept, so no input can exhaust memory.
constexpr std::size_t MaxKeptDepth = 4096;

struct GroupState
{
    bool skip = false;
    int unicodeFallback = 1; // \ucN: bytes that stand in for each \uN
};

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_in(bytes) {}

    PlainTextResult Read()
    {
        while (m_pos < m_in.size() && !m_finished)
            Step();
        Flush();
        // A document that ends inside a group never closed it.
        const bool damaged = m_tooDeep || !m_finished;
        return {std::move(m_out), damaged};
    }

private:
    void Step()
    {
        const char c = m_in[m_pos++];
        switch (c) {
        case '{':
            OpenGroup();
            break;
        case '}':
            CloseGroup();
            break;
        case '\\':
            ControlSequence();
            break;
        case '\r':
        case '\n':
            break;
        default:
            TextByte(c);
        }
    }

    void OpenGroup()
    {
        if (m_stack.size() < MaxKeptDepth) {
            m_stack.push_back(m_state);
        } else {
            ++m_overflowDepth;
            m_tooDeep = true;
        }
        m_groupStart = true;
        m_fallbackLeft = 0;
    }

    void CloseGroup()
    {
        m_groupStart = false;
        m_fallbackLeft = 0;
        if (m_overflowDepth > 0) {
            --m_overflowDepth;
            return;
        }
        if (m_stack.empty()) {
            // The group that holds the document has closed: what follows is not part of it.
            m_finished = true;
            return;
        }
        m_state = m_stack.back();
        m_stack.pop_back();
        if (m_stack.empty())
            m_finished = true;
    }

    void ControlSequence()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in[m_pos];
        if (IsLetter(c)) {
            ControlWord();
            return;
        }
        ++m_pos;
        const bool groupStart = m_groupStart;
        m_groupStart = false;
        switch (c) {
        case '\'':
            HexByte();
            break;
        case '*':
            if (groupStart)
                m_state.skip = true;
            break;
        case '\\':
        case '{':
        case '}':
            TextByte(c);
            break;
        case '~':
            TextByte(' ');
            break;
        case '_':
            TextByte('-');
            break;
        case '\r':
        case '\n':
            Emit(u"\r\n");
            break;
        default:
            break; // \- (optional hyphen) and unknown symbols show nothing
        }
    }

    void ControlWord()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && IsLetter(m_in[m_pos]) && m_pos - start < 32)
            ++m_pos;
        const std::string_view word(m_in.constData() + start, std::size_t(m_pos - start));
        bool hasParameter = false;
        long long parameter = 0;
        const bool negative = m_pos < m_in.size() && m_in[m_pos] == '-';
        if (negative)
            ++m_pos;
        while (m_pos < m_in.size() && IsDigit(m_in[m_pos])) {
            if (parameter < 100000000)
                parameter = parameter * 10 + (m_in[m_pos] - '0');
            hasParameter = true;
            ++m_pos;
        }
        if (negative)
            parameter = -parameter;
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos;
        const bool groupStart = m_groupStart;
        m_groupStart = false;
        if (groupStart && IsSkippedDestination(word))
            m_state.skip = true;
        Apply(word, hasParameter, parameter);
    }

    void Apply(std::string_view word, bool hasParameter, long long parameter)
    {
        if (word == "bin") {
            // Binary data follows raw; its bytes are no text, whatever they look like.
            m_pos += std::min<qsizetype>(hasParameter && parameter > 0 ? parameter : 0, m_in.size() - m_pos);
            return;
        }
        if (word == "uc") {
            m_state.unicodeFallback = hasParameter && parameter >= 0 && parameter < 16 ? int(parameter) : 1;
            return;
        }
        if (m_state.skip)
            return;
        if (word == "par" || word == "line")
            Emit(u"\r\n");
        else if (word == "tab")
            Emit(u"\t");
        else if (word == "u" && hasParameter)
            Unicode(parameter);
        else if (word == "lquote" || word == "rquote")
            TextByte('\'');
        else if (word == "ldblquote" || word == "rdblquote")
            TextByte('"');
        else if (word == "emdash" || word == "endash")
            TextByte('-');
    }

    void Unicode(long long parameter)
    {
        const long long unit = parameter < 0 ? parameter + 65536 : parameter;
        if (unit < 0 || unit > 0xFFFF)
            return;
        const char16_t text[1] = {char16_t(unit)};
        Emit(std::u16string_view(text, 1));
        m_fallbackLeft = m_state.unicodeFallback;
    }

    void HexByte()
    {
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_in.size() && HexValue(m_in[m_pos]) >= 0) {
            value = value * 16 + HexValue(m_in[m_pos]);
            ++m_pos;
            ++digits;
        }
        // An escape cut short by the end of the file stands for nothing.
        if (digits == 2)
            TextByte(char(value));
    }

    // Text is gathered as bytes and decoded a run at a time, so that a double-byte character written
    // as two escapes, or as an escape and a plain character, stays one character.
    void TextByte(char byte)
    {
        m_groupStart = false;
        if (m_state.skip)
            return;
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        m_bytes.append(byte);
    }

    void Emit(std::u16string_view text)
    {
        m_fallbackLeft = 0;
        Flush();
        m_out.append(QStringView(text.data(), qsizetype(text.size())));
    }

    void Flush()
    {
        if (m_bytes.isEmpty())
            return;
        m_out += nc::DecodeCp932(m_bytes).text;
        m_bytes.clear();
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_stack;
    std::size_t m_overflowDepth = 0;
    bool m_tooDeep = false;
    GroupState m_state;
    bool m_groupStart = false;
    bool m_finished = false;
    int m_fallbackLeft = 0;
    QByteArray m_bytes;
    QString m_out;
};

} // namespace

bool IsRichText(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

PlainTextResult ReadPlainText(const QByteArray &bytes)
{
    return Reader(bytes).Read();
}

QString PlainText(const QByteArray &bytes)
{
    return ReadPlainText(bytes).text;
}

} // namespace rtf
