#include "app/pane/AppFonts.h"
#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"
#include "app/window/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallJapaneseFontSubstitutes();
    QtPrompter prompter;
    const std::unique_ptr<KeyboardLocks> keyboardLocks = CreateSystemKeyboardLocks();
    frmMain window({prompter, *keyboardLocks, QString(), QCoreApplication::applicationDirPath()});
    window.Form_Load(QCoreApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
