// Not a test: the editor as a child process of the recovery tests, on the offscreen platform.
//   recovery_child type FOLDER FILE TEXT   opens FILE, types TEXT at its end and runs until killed
//   recovery_child restore FOLDER OUT      starts, answers 復元 to every copy offered, writes the text
//                                          (code page 932) to OUT, the document's path to OUT.path and
//                                          the number of copies offered to OUT.asked, then exits
//   recovery_child shot FOLDER PNG         starts with the real message boxes and writes a picture of the
//                                          box that offers a copy to PNG (run under xvfb-run)
#include "AppFakes.h"
#include "app/pane/AppFonts.h"
#include "app/pane/TextPane.h"
#include "app/window/Prompter.h"
#include "app/window/frmMain.h"
#include "nc/ProgramText.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    FakePrompter fakePrompter;
    QtPrompter realPrompter;
    const bool shot = args[1] == u"shot";
    Prompter &prompter = shot ? static_cast<Prompter &>(realPrompter) : fakePrompter;
    FakeKeyboardLocks locks;
    MainWindowServices services{prompter, locks};
    services.settingsFile = args[2] + QStringLiteral("/settings.ini");
    services.recoveryFolder = args[2];
    frmMain window(services);
    if (args[1] == u"type" && args.size() == 5) {
        window.Form_Load({args[3]});
        window.show();
        window.RichTextBox1->setFocus();
        window.RichTextBox1->moveCursor(QTextCursor::End);
        QTest::keyClicks(window.RichTextBox1, args[4]);
        std::printf("typed\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (shot) {
        InstallJapaneseFontSubstitutes();
        bool saved = false;
        // The box is modal: it is pictured from the event loop it runs, then closed, keeping the copy.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box || !box->isVisible())
                return;
            QApplication::processEvents();
            saved = box->grab().save(args[3]);
            if (auto *dialog = qobject_cast<QDialog *>(box))
                dialog->reject();
        });
        poll.start(500);
        window.Form_Load({});
        return saved ? 0 : 1;
    }
    if (args[1] == u"restore") {
        window.Form_Load({});
        const QString out = args[3];
        const bool written = WriteFile(out, nc::EncodeCp932(window.RichTextBox1->Text()).bytes) &&
                             WriteFile(out + QStringLiteral(".path"), window.DocumentPath().toUtf8()) &&
                             WriteFile(out + QStringLiteral(".asked"),
                                       QByteArray::number(qsizetype(fakePrompter.questions.size())));
        return written ? 0 : 1;
    }
    return 2;
}
