#include "app/pane/AppFonts.h"
#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"
#include "app/window/frmMain.h"
#include "machine/TableFile.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallJapaneseFontSubstitutes();
    QtPrompter prompter;
    const std::unique_ptr<KeyboardLocks> keyboardLocks = CreateSystemKeyboardLocks();
    // The folder of the default table and the example program: the default of both remembered folders.
    frmMain window({prompter, *keyboardLocks, QString(), DataFolder(QCoreApplication::applicationDirPath())});
    window.Form_Load(QCoreApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
