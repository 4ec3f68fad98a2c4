#include "app/edit/EditIcons.h"

// Q_INIT_RESOURCE must be used outside any namespace; the icons live in a static library, whose resource
// registration the linker would otherwise drop.
static void InitEditIconResource()
{
    Q_INIT_RESOURCE(editicons);
}

namespace app {

QIcon EditIcon(const QString &name)
{
    static const bool registered = (InitEditIconResource(), true);
    Q_UNUSED(registered);
    QIcon icon;
    icon.addFile(":/icons/" + name + ".png");
    icon.addFile(":/icons/" + name + "@2x.png");
    return icon;
}

} // namespace app
