#include "recovery/RecoveryCopy.h"

#include "nc/ProgramText.h"

#include <QCryptographicHash>
#include <QUrl>

namespace recovery {

namespace {

constexpr QByteArrayView Magic = "BRINDLEWICK-RECOVERY";
constexpr int Version = 1;

QByteArray Checksum(QByteArrayView body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

ReadCopy Broken(const QString &reason)
{
    ReadCopy read;
    read.status = ReadStatus::Broken;
    read.reason = reason;
    return read;
}

// The value of "name=value" on header line `line`, or nothing.
bool HeaderValue(QByteArrayView line, QByteArrayView name, QByteArray &value)
{
    if (!line.startsWith(name) || line.size() <= name.size() || line[name.size()] != '=')
        return false;
    value = line.sliced(name.size() + 1).toByteArray();
    return true;
}

} // namespace

QByteArray EncodeCopy(const CopyContents &contents)
{
    const nc::EncodedText encoded = nc::EncodeCp932(contents.text);
    // Code page 932 only where it gives back the very text typed.
    const bool cp932 = encoded.ok() && nc::DecodeCp932(encoded.bytes).text == contents.text;
    const QByteArray body = cp932 ? encoded.bytes : contents.text.toUtf8();
    QByteArray copy;
    copy.reserve(body.size() + 512);
    copy += Magic.toByteArray() + ' ' + QByteArray::number(Version) + '\n';
    copy += "path=" + QUrl::toPercentEncoding(contents.documentPath) + '\n';
    copy += "written=" + contents.written.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    copy += QByteArray("encoding=") + (cp932 ? "cp932" : "utf-8") + '\n';
    copy += "length=" + QByteArray::number(body.size()) + '\n';
    copy += "sha256=" + Checksum(body) + '\n';
    copy += '\n';
    copy += body;
    return copy;
}

ReadCopy DecodeCopy(QByteArrayView bytes)
{
    const qsizetype firstEnd = bytes.indexOf('\n');
    if (firstEnd < 0 || !bytes.startsWith(Magic) || bytes.size() <= Magic.size() ||
        bytes[Magic.size()] != ' ')
        return Broken(QStringLiteral("回復ファイルではありません"));
    bool numberRead = false;
    const int version = bytes.sliced(Magic.size() + 1, firstEnd - Magic.size() - 1).toInt(&numberRead);
    if (!numberRead)
        return Broken(QStringLiteral("回復ファイルの見出しが壊れています"));
    if (version != Version) {
        ReadCopy read;
        read.status = ReadStatus::OtherVersion;
        read.reason = QStringLiteral("別の版の回復ファイルです (形式 %1)").arg(version);
        return read;
    }
    QByteArray path, written, encoding, length, checksum;
    qsizetype at = firstEnd + 1;
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            return Broken(QStringLiteral("回復ファイルが途中で切れています"));
        const QByteArrayView line = bytes.sliced(at, end - at);
        at = end + 1;
        if (line.isEmpty())
            break;
        if (!HeaderValue(line, "path", path) && !HeaderValue(line, "written", written) &&
            !HeaderValue(line, "encoding", encoding) && !HeaderValue(line, "length", length) &&
            !HeaderValue(line, "sha256", checksum))
            return Broken(QStringLiteral("回復ファイルの見出しが壊れています"));
    }
    bool lengthRead = false;
    const qsizetype size = length.toLongLong(&lengthRead);
    const QByteArrayView body = bytes.sliced(at);
    if (!lengthRead || size != body.size())
        return Broken(QStringLiteral("回復ファイルが途中で切れています"));
    if (Checksum(body) != checksum)
        return Broken(QStringLiteral("回復ファイルの内容が壊れています"));
    ReadCopy read;
    if (encoding == "cp932") {
        const nc::DecodedText decoded = nc::DecodeCp932(body);
        read.contents.text = decoded.text;
    } else if (encoding == "utf-8") {
        read.contents.text = QString::fromUtf8(body);
    } else {
        return Broken(QStringLiteral("回復ファイルの見出しが壊れています"));
    }
    read.status = ReadStatus::Read;
    read.contents.documentPath = QUrl::fromPercentEncoding(path);
    read.contents.written = QDateTime::fromString(QString::fromLatin1(written), Qt::ISODateWithMs);
    return read;
}

} // namespace recovery
