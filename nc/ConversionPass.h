#pragma once

#include "nc/NcScanState.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstring>
#include <functional>
#include <type_traits>

// The state a pass keeps beside the scanner: the program, the bounds of the current line, the character
// being examined, and the modal values some conversions track.
struct ConversionPassState
{
    QString SourceText;
    qsizetype LineStart = 1; // 1-based start of the next line
    qsizetype LineEnd = 0;   // 1-based position of the CR LF that ends the current line
    QChar CurrentChar;
    bool InComment = false;
    double LineG = 0;
    int DistanceMode = 90;
};

// A record of the values a pass carries from one line to the next, bit for bit: two passes of one
// conversion whose records are equal after the same line convert every later line alike.
class CarriedState
{
public:
    template <typename Value>
    requires std::is_arithmetic_v<Value> || std::is_enum_v<Value>
    void Add(Value value)
    {
        char bits[sizeof value];
        std::memcpy(bits, &value, sizeof value);
        m_bytes.append(bits, qsizetype(sizeof value));
    }
    void Add(QChar c) { Add(c.unicode()); }
    void Add(QStringView text)
    {
        Add(text.size());
        m_bytes.append(reinterpret_cast<const char *>(text.data()), text.size() * qsizetype(sizeof(QChar)));
    }

    bool operator==(const CarriedState &other) const = default;

private:
    QByteArray m_bytes;
};

// Called once per line with the 1-based start of the next line and the length of the program; returning
// false stops the pass (the caller discards the result).
using PassProgress = std::function<bool(qsizetype done, qsizetype total)>;

// The frame every line-by-line conversion shares: the program is cut into lines at CR LF (a lone CR or LF
// stays inside its line), every character outside comments is handed to the conversion, and each line is
// emitted with CR LF. A comment runs from "(" to ")" and may span lines.
class ConversionPass
{
public:
    virtual ~ConversionPass() = default;

    // Runs the pass over the whole program and returns the result text.
    QString Run(const QString &source);

    // The same pass over a program handed over in pieces, so that neither it nor its result is ever held
    // whole: Start, Feed every piece in order (cut anywhere, even inside a line or a CR LF), taking the
    // result written so far whenever wanted, End, and take the rest. The results put together are Run's.
    // `pieceSize` is about the size of a piece, for the room of the result.
    void Start(qsizetype pieceSize);
    void Feed(QStringView piece);
    // The same for a piece the caller gives up: taken as it is when no part of a line is pending.
    void Feed(QString &&piece);
    // The same for a piece of clean code page 932 (cut just after a CR LF or anywhere between characters),
    // decoded straight into the room the pieces before used.
    void FeedCp932(QByteArrayView piece);
    void End();
    // Hands the result written since the last time to `take`; its room is used again.
    void TakeResult(const std::function<void(QStringView)> &take);

    void SetProgress(PassProgress progress) { m_progress = std::move(progress); }
    // True when the conversion stopped with a failure; the result then holds the lines emitted so far.
    bool Failed() const { return m_failed; }
    QString FailureMessage() const { return m_failureMessage; }
    // True when the progress callback asked the pass to stop.
    bool Cancelled() const { return m_cancelled; }

    // Writes every value the pass carries from line to line into `state` and returns true, so that a
    // program may be converted in parts, each part after the first started from the state a few lines
    // before it lead to and kept only when that is the state the part really starts in. A pass that does
    // not list its values returns false and is always run in one stream.
    virtual bool WriteCarriedState(CarriedState &state) const
    {
        (void)state;
        return false;
    }

protected:
    // Before the first line: read options, set modal values.
    virtual void Prepare() {}
    // At the start of each line, after `Line`, `LineLength` and `Pos` are set.
    virtual void BeginLine() {}
    // The conversion's own handling of `CurrentChar` at `Pos` (outside comments, or on the closing ")").
    virtual void HandleChar() = 0;
    // After the last character of the line; by default the line is emitted with CR LF.
    virtual void EndLine() { Emit(Scan.Line); }
    // After the last line.
    virtual void Finish() {}
    // Whether a program without a final CR LF gets one, so that its last line is converted too.
    virtual bool AppendsFinalLineEnd() const { return true; }

    // Names the only ASCII characters HandleChar acts on outside comments: the frame passes over every
    // other ASCII character without asking (long programs are mostly digits and blanks). Characters
    // beyond ASCII are always handed over; without this call every character is.
    void HandOnly(QStringView characters);

    void Emit(QStringView line);
    void EmitRaw(QStringView text);
    // Stops the pass after the current character; the result keeps what was emitted.
    void Fail(const QString &message);
    // Replaces `Line` from `from` through `to` (1-based, inclusive) by `text` and re-takes `LineLength`.
    void ReplaceInLine(qsizetype from, qsizetype to, QStringView text);
    bool Stopped() const { return m_failed || m_cancelled; }
    // The values of the frame itself that outlive a line, for WriteCarriedState.
    void WriteFrameState(CarriedState &state) const;

    NcScanState Scan;
    ConversionPassState Pass;

private:
    void Begin(qsizetype sourceSize);
    void RunLines();
    void RunLine();
    void SkipComment();

    std::array<bool, 128> m_passedOver{}; // ASCII characters HandleChar never acts on
    QString m_result;
    qsizetype m_resultSize = 0; // the characters of m_result written so far
    bool m_fedAnything = false;
    PassProgress m_progress;
    bool m_failed = false;
    bool m_cancelled = false;
    QString m_failureMessage;
};
