#include "app/DocumentFile.h"

#include "app/RtfText.h"
#include "nc/ProgramText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

QString WriteFailure(const QFileInfo &info, const QString &error)
{
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("保存先のフォルダーが見つかりません。");
    if (info.exists() && !info.isWritable())
        return QStringLiteral("ファイルが読み取り専用か、書き込む権限がありません。");
    if (!folder.isWritable())
        return QStringLiteral("フォルダーに書き込む権限がありません。");
    return error;
}

// Names the character code page 932 cannot hold and its line, so the user can find it.
QString UnencodableFailure(const QString &text, qsizetype index)
{
    const qsizetype line = 1 + QStringView(text).left(index).count(u"\r\n");
    const char32_t code = QStringView(text).mid(index).toUcs4().value(0);
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
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.failure = file.errorString();
        return result;
    }
    result.ok = true;
    if (rtf::IsRichText(bytes)) {
        result.text = rtf::PlainText(bytes);
        result.wasRichText = true;
        Forget();
        return result;
    }
    const nc::DecodedText decoded = nc::DecodeCp932(bytes);
    result.text = decoded.text;
    result.hadInvalidBytes = decoded.hadInvalidBytes;
    const nc::EncodedText again = nc::EncodeCp932(decoded.text);
    if (again.ok() && again.bytes == bytes) {
        Forget();
    } else {
        m_readText = decoded.text;
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
    const QFileInfo info(path);
    QSaveFile file(path);
    if (info.isDir() || !file.open(QIODevice::WriteOnly)) {
        result.failure = WriteFailure(info, file.errorString());
        return result;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        result.failure = WriteFailure(info, file.errorString());
        return result;
    }
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
