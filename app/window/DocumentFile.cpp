#include "app/window/DocumentFile.h"

#include "app/window/RtfText.h"
#include "nc/FileWrite.h"
#include "nc/ProgramText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString ReadFailure(const QFileInfo &info, const QFile &file)
{
    if (!info.exists())
        return QStringLiteral("ファイルが見つかりません。");
    if (info.isDir())
        return QStringLiteral("フォルダーです。ファイルを選んでください。");
    if (!info.isFile())
        return QStringLiteral("通常のファイルではありません。");
    if (!info.isReadable())
        return QStringLiteral("ファイルを読み取る権限がありません。");
    return file.errorString();
}

QString TooLarge(qint64 size)
{
    return QStringLiteral("ファイルが大きすぎます (%1 バイト)。編集画面で開けるのは %2 バイトまでです。"
                          "大きなプログラムは brindlewick-convert で変換できます。")
        .arg(size)
        .arg(DocumentFile::LargestFile);
}

// The first line longer than the pane can lay out quickly, with its number and length; empty when none.
QString TooLongLine(QStringView text)
{
    qsizetype line = 1;
    qsizetype lineStart = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i <= size; ++i) {
        const bool lineEnd = i == size || (text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n');
        if (!lineEnd)
            continue;
        if (i - lineStart > DocumentFile::LongestLine) {
            return QStringLiteral("%1 行目の長さが %2 文字あります。編集画面で扱える行は %3 文字までです。"
                                  "行末が LF だけのプログラムは、brindlewick-convert crlf で行末を CR LF "
                                  "にしてから開いてください。")
                .arg(line)
                .arg(i - lineStart)
                .arg(DocumentFile::LongestLine);
        }
        ++line;
        lineStart = i + 2;
        ++i;
    }
    return QString();
}

// Names the character code page 932 cannot hold and its line, so the user can find it.
QString UnencodableFailure(const QString &text, qsizetype index)
{
    const qsizetype line = 1 + QStringView(text).left(index).count(u"\r\n");
    const char32_t code = QStringView(text).mid(index, 2).toUcs4().value(0);
    const qsizetype width = code > 0xFFFF ? 2 : 1;
    const QString hex = QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("%1 行目の文字 \"%2\" (U+%3) は Shift-JIS (コード ページ 932) で保存できません。")
        .arg(line)
        .arg(text.mid(index, width), hex);
}

} // namespace

DocumentFile::ReadResult DocumentFile::Read(const QString &path)
{
    ReadResult result;
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        result.failure = ReadFailure(info, file);
        return result;
    }
    if (file.size() > LargestFile) {
        result.failure = TooLarge(file.size());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.failure = file.errorString();
        return result;
    }
    // The file may have grown since its size was taken.
    if (bytes.size() > LargestFile) {
        result.failure = TooLarge(bytes.size());
        return result;
    }

    const bool richText = rtf::IsRichText(bytes);
    nc::DecodedText decoded;
    if (richText) {
        rtf::PlainTextResult plain = rtf::ReadPlainText(bytes);
        decoded.text = std::move(plain.text);
        result.damagedRichText = plain.damaged;
    } else {
        decoded = nc::DecodeCp932(bytes);
    }
    result.failure = TooLongLine(decoded.text);
    if (!result.failure.isEmpty())
        return result;

    result.ok = true;
    result.wasRichText = richText;
    result.hadInvalidBytes = decoded.hadInvalidBytes;
    result.hadNulBytes = decoded.text.contains(QChar(u'\0'));
    result.text = std::move(decoded.text);
    // A rich-text file is always saved as plain text; a plain one with its own bytes when unchanged.
    const nc::EncodedText again = richText ? nc::EncodedText{} : nc::EncodeCp932(result.text);
    if (richText || (again.ok() && again.bytes == bytes)) {
        Forget();
    } else {
        m_readText = result.text;
        m_readBytes = bytes;
    }
    return result;
}

DocumentFile::WriteResult DocumentFile::Write(const QString &path, const QString &text)
{
    WriteResult result;
    const bool unchanged = !m_readBytes.isEmpty() && text == m_readText;
    QByteArray bytes;
    if (unchanged) {
        bytes = m_readBytes;
    } else {
        nc::EncodedText encoded = nc::EncodeCp932(text);
        if (!encoded.ok()) {
            result.failure = UnencodableFailure(text, encoded.badIndex);
            return result;
        }
        bytes = std::move(encoded.bytes);
    }
    result.failure = nc::ReplaceFile(path, bytes);
    if (!result.failure.isEmpty())
        return result;
    if (!unchanged)
        Forget();
    result.ok = true;
    return result;
}

void DocumentFile::Forget()
{
    m_readText.clear();
    m_readBytes.clear();
}
