#include "machine/TableFile.h"

#include "nc/FileWrite.h"
#include "nc/ProgramText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr QChar Quote = u'"';
constexpr int HeaderRows = 2;
// A table file is a few kilobytes; anything far larger is not one, and is refused before it fills memory.
constexpr qint64 LargestTableFile = 64 * 1024 * 1024;

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool EndsUnquotedField(QChar c)
{
    return c == u',' || IsLineEnd(c);
}

struct Field
{
    QString text;
    bool quoted = false;
};

// Cuts the file's text into fields. A comma or a line end ends a field (CR LF counts once); a quoted field
// may hold commas and line ends and runs to its closing quote, or to the end of the file when it has none.
class FieldStream
{
public:
    explicit FieldStream(QStringView text) : m_text(text), m_contentEnd(ContentEnd(text)) {}

    // Reads the next field; false when the file holds no more fields.
    bool Next(Field &field)
    {
        // A comma always promises a field, even an empty one at the very end; after a line end, blank lines
        // that only trail the last field are no further fields.
        if (!m_afterComma && m_pos >= m_contentEnd)
            return false;
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos]))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == Quote)
            ReadQuoted(field);
        else
            ReadUnquoted(field);
        return true;
    }

private:
    static qsizetype ContentEnd(QStringView text)
    {
        qsizetype end = text.size();
        while (end > 0 && (IsBlank(text[end - 1]) || IsLineEnd(text[end - 1])))
            --end;
        return end;
    }

    void ReadQuoted(Field &field)
    {
        const qsizetype start = m_pos + 1;
        const qsizetype close = m_text.indexOf(Quote, start);
        field.quoted = true;
        if (close < 0) {
            field.text = m_text.mid(start).toString();
            m_pos = m_text.size();
            m_afterComma = false;
            return;
        }
        field.text = m_text.mid(start, close - start).toString();
        // Whatever stands between the closing quote and the next comma or line end is not part of the field.
        m_pos = close + 1;
        while (m_pos < m_text.size() && !EndsUnquotedField(m_text[m_pos]))
            ++m_pos;
        ConsumeSeparator();
    }

    void ReadUnquoted(Field &field)
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !EndsUnquotedField(m_text[m_pos]))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && IsBlank(m_text[end - 1]))
            --end;
        field.text = m_text.mid(start, end - start).toString();
        field.quoted = false;
        ConsumeSeparator();
    }

    void ConsumeSeparator()
    {
        m_afterComma = false;
        if (m_pos >= m_text.size())
            return;
        const QChar separator = m_text[m_pos++];
        if (separator == u',')
            m_afterComma = true;
        else if (separator == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
    }

    QStringView m_text;
    qsizetype m_contentEnd;
    qsizetype m_pos = 0;
    bool m_afterComma = false;
};

// An unquoted empty field is "no value"; a quoted one, even "", is text.
std::optional<QString> OptionalValue(const Field &field)
{
    if (!field.quoted && field.text.isEmpty())
        return std::nullopt;
    return field.text;
}

// Reads three fields; false when the stream ends before the third.
bool ReadRow(FieldStream &stream, Field (&fields)[3], bool &streamEnded)
{
    streamEnded = !stream.Next(fields[0]);
    return !streamEnded && stream.Next(fields[1]) && stream.Next(fields[2]);
}

TableFileResult ReadFailure(int rowsRead)
{
    return {false, TableReadErrorMessage(), rowsRead};
}

QString QuotedOrNothing(const std::optional<QString> &value)
{
    return value ? Quote + *value + Quote : QString();
}

QString ColumnName(int field)
{
    static const char16_t *const names[] = {u"項　目", u"変換前", u"変換後"};
    return QString::fromUtf16(names[field]);
}

QString WriteFailure(const QString &reason)
{
    return QStringLiteral("変換ファイルを保存できませんでした。\n") + reason;
}

QString QuoteProblem(const QString &text)
{
    return text.contains(Quote) ? QStringLiteral("に \" があります。\" は変換ファイルに書けません。")
                                : QString();
}

QString EncodingProblem(const QString &text)
{
    const nc::EncodedText encoded = nc::EncodeCp932(text);
    if (encoded.ok())
        return QString();
    const qsizetype width = text[encoded.badIndex].isHighSurrogate() ? 2 : 1;
    return QStringLiteral("の文字「%1」は Shift-JIS で保存できません。")
        .arg(text.mid(encoded.badIndex, width));
}

// The first field, in file order, for which `problem` gives a reason, named by row and column; empty when
// every field is fine.
QString FirstProblem(const ConversionTable &table, QString (*problem)(const QString &))
{
    for (int r = 1; r <= ConversionTable::RowCount; ++r) {
        const ConversionTableRow &row = table.Row(r);
        const QString texts[] = {row.item.value_or(QString()), row.before.value_or(QString()), row.after};
        for (int field = 0; field < 3; ++field) {
            const QString reason = problem(texts[field]);
            if (!reason.isEmpty())
                return QStringLiteral("%1行目（%2）").arg(r).arg(ColumnName(field)) + reason;
        }
    }
    return QString();
}

} // namespace

QString DefaultTableFileName()
{
    return QStringLiteral("オークマ 旋盤 FANUC-OSP.csv");
}

QString DataFolder(const QString &applicationFolder)
{
    if (QFileInfo::exists(QDir(applicationFolder).filePath(DefaultTableFileName())))
        return applicationFolder;
    const QString installed = QDir::cleanPath(applicationFolder + QStringLiteral("/../share/brindlewick"));
    if (QFileInfo::exists(QDir(installed).filePath(DefaultTableFileName())))
        return installed;
    return applicationFolder;
}

QString TableReadErrorMessage()
{
    return QStringLiteral("変換ファイル名エラー");
}

QString TableFilePath(const QString &folder, const QString &fileName)
{
    return folder.isEmpty() ? fileName : QDir(folder).filePath(fileName);
}

TableFileResult ReadTableFile(const QByteArray &bytes, ConversionTable &table)
{
    const nc::DecodedText decoded = nc::DecodeCp932(bytes);
    // Bytes that are no code page 932 text mean a binary file or another encoding: nothing is taken from it.
    if (decoded.hadInvalidBytes)
        return ReadFailure(0);
    FieldStream stream(decoded.text);
    Field fields[3];
    bool streamEnded = false;
    for (int header = 0; header < HeaderRows; ++header) {
        if (!ReadRow(stream, fields, streamEnded))
            return ReadFailure(0);
    }
    int rowsRead = 0;
    while (rowsRead < ConversionTable::RowCount) {
        if (!ReadRow(stream, fields, streamEnded))
            return streamEnded ? TableFileResult{true, QString(), rowsRead} : ReadFailure(rowsRead);
        ConversionTableRow &row = table.Row(++rowsRead);
        row.item = OptionalValue(fields[0]);
        row.before = OptionalValue(fields[1]);
        row.after = fields[2].text;
    }
    return {true, QString(), rowsRead};
}

TableFileResult ReadTableFile(const QString &path, ConversionTable &table)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LargestTableFile)
        return ReadFailure(0);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadFailure(0);
    return ReadTableFile(bytes, table);
}

QString TableFileText(const ConversionTable &table)
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = QStringLiteral("Brindlewick  Machine convert file R.Quendlow,,") + lineEnd +
                   QStringLiteral("項　目,変換前,変換後") + lineEnd;
    for (int r = 1; r <= ConversionTable::RowCount; ++r) {
        const ConversionTableRow &row = table.Row(r);
        text += QuotedOrNothing(row.item) + u',' + QuotedOrNothing(row.before) + u',' + Quote + row.after +
                Quote + lineEnd;
    }
    return text;
}

TableFileResult EncodeTableFile(const ConversionTable &table, QByteArray &bytes)
{
    bytes.clear();
    const QString quoteProblem = FirstProblem(table, QuoteProblem);
    if (!quoteProblem.isEmpty())
        return {false, WriteFailure(quoteProblem)};
    nc::EncodedText encoded = nc::EncodeCp932(TableFileText(table));
    // Only a failure looks field by field, to name the place.
    if (!encoded.ok())
        return {false, WriteFailure(FirstProblem(table, EncodingProblem))};
    bytes = std::move(encoded.bytes);
    return {};
}

TableFileResult WriteTableFile(const QString &path, const ConversionTable &table)
{
    QByteArray bytes;
    TableFileResult encoded = EncodeTableFile(table, bytes);
    if (!encoded.ok)
        return encoded;
    const QString reason = nc::ReplaceFile(path, bytes);
    if (!reason.isEmpty())
        return {false, WriteFailure(path + u'\n' + reason)};
    return {};
}
