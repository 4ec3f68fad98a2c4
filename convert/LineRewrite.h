#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>

// Builds the rewritten form of a program line while the scanner keeps walking the line as it was read.
// Every change replaces a stretch at or behind the scan position and scanning goes on after it, so the
// text ahead is never moved: a change costs its own length, however long the line (no character moves
// per change, as an in-place rewrite of a long line would need). Positions are 1-based in the line as read.
class LineRewrite
{
public:
    // Starts a new line; the buffer keeps its capacity from line to line.
    void Begin()
    {
        m_out.resize(0);
        m_copied = 0;
    }

    // Replaces `from` through `to` of `line` (inclusive; `to` = `from` - 1 inserts before `from`) by
    // `text`. Changes come in order along the line.
    void Replace(const QString &line, qsizetype from, qsizetype to, QStringView text)
    {
        m_out += QStringView(line).mid(m_copied, from - 1 - m_copied);
        m_out += text;
        m_copied = to;
    }

    // The rewritten line starts anew at `from` of `line`: everything before it is dropped.
    void RestartAt(const QString &line, qsizetype from)
    {
        m_out.resize(0);
        m_copied = std::min(from - 1, line.size());
    }

    // Puts `text` in front of the rewritten line.
    void Prepend(QStringView text) { m_out.prepend(text); }

    // The last position of the line as read that has been taken into the rewritten line.
    qsizetype Copied() const { return m_copied; }

    // The first character of the rewritten line; a null character when it is empty.
    QChar FirstChar(const QString &line) const
    {
        if (!m_out.isEmpty())
            return m_out.front();
        return m_copied < line.size() ? line.at(m_copied) : QChar();
    }

    // The rewritten line: the changed part, then the rest of the line as read.
    const QString &Finish(const QString &line)
    {
        m_out += QStringView(line).mid(std::min(m_copied, line.size()));
        m_copied = line.size();
        return m_out;
    }

private:
    QString m_out;
    qsizetype m_copied = 0;
};
