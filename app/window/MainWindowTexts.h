#pragma once

#include <QString>

// Texts of the main window that more than one of its files shows.
namespace app {

inline const QString AppTitle = QStringLiteral("Brindlewick");
inline const QString ResultHeading = QStringLiteral("変換後");

} // namespace app
