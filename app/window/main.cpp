#include "app/pane/AppFonts.h"
#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"
#include "app/window/frmMain.h"
#include "machine/TableFile.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallJapaneseFontSubstitutes();
    QtPrompter prompter;
    const std::unique_ptr<KeyboardLocks> keyboardLocks = CreateSystemKeyboardLocks();
    MainWindowServices services{prompter, *keyboardLocks};
    // The folder of the default table and the example program: the default of both remembered folders.
    services.applicationFolder = DataFolder(QCoreApplication::applicationDirPath());
    services.recoveryFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
    frmMain window(services);
    window.Form_Load(QCoreApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
