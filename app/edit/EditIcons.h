#pragma once

#include <QIcon>
#include <QString>

// The editor's own icon set (toolbar and application icon), compiled into the program so that it shows
// on a machine without any desktop icon theme.
namespace app {

// The icon named `name` ("undo", "brindlewick", ...), with its double-size picture for high-DPI screens.
QIcon EditIcon(const QString &name);

} // namespace app
