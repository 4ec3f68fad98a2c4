#pragma once

#include <QByteArray>
#include <QString>

// Program and table files are replaced whole, never written in place.
namespace nc {

// Replaces the file at `path` by `bytes`: they go to a temporary file in the same folder, which is renamed
// over the old file only once it is completely written, so a failure (a full disk, a file size limit, no
// permission) never leaves half a file behind and leaves the old file as it was. The new file keeps the
// old one's permissions; a symbolic link is followed and the file it names replaced. Returns the empty
// text on success, else why nothing was written, in words for the user.
QString ReplaceFile(const QString &path, const QByteArray &bytes);

} // namespace nc
