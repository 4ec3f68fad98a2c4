// Not a test: writes pictures of the main window with its panes coloured, for looking at by eye:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tests/app/colouring_screens DIR
// example.png: data/example.nc with its unit change (mm to inch) as the result; plain.png: the same with
// the colours turned off; comments.png: a comment over several lines, lone CR and LF, a text coloured
// red as the search may colour it; found.png: the same after Find next, its selection on coloured words.
#include "AppFakes.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"
#include "convert/UnitPass.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

void Save(frmMain &window, const QString &path)
{
    QTest::qWait(200);
    window.grab().save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QTemporaryDir settings;
    FakePrompter prompter;
    FakeKeyboardLocks locks;
    frmMain window({prompter, locks, settings.filePath(QStringLiteral("settings.ini")), settings.path()});
    window.Form_Load({QStringLiteral(BRINDLEWICK_DATA_DIR "/example.nc")});
    window.show();
    window.SetResultText(ConvertUnit(window.SourceText(), UnitOption::MmToInch));
    window.ShowConversionResult();
    Save(window, out.filePath(QStringLiteral("example.png")));

    window.mnuViewColor->trigger();
    Save(window, out.filePath(QStringLiteral("plain.png")));
    window.mnuViewColor->trigger();

    window.Command2_Click();
    window.RichTextBox1->SetText(QStringLiteral(
        "%\r\nO2000(\u30b3\u30e1\u30f3\u30c8\u304c\r\n\u8907\u6570\u884c\u306b X10. G01\r\n\u7d9a\u304f)G00 "
        "X20.\r\n(A\r\n)\r\nN10 G01 X1.\rZ2.\nM03\r\nX(NOTE)Y2. #100=5. x1 g01\r\nM30\r\n%\r\n"));
    window.RichTextBox1->SetSelStart(0);
    window.RichTextBox1->SetSelStart(window.RichTextBox1->Text().indexOf(QStringLiteral("N10")));
    window.RichTextBox1->SetSelLength(7);
    window.RichTextBox1->SetSelColor(Qt::red);
    window.RichTextBox1->SetSelStart(0);
    Save(window, out.filePath(QStringLiteral("comments.png")));

    // Find next, as the search runs it: its selection over the coloured words.
    window.State().Search.FindText = QStringLiteral("X10. G01");
    window.RichTextBox1->SetSelStart(0);
    window.mnuEditNextFind_Click();
    Save(window, out.filePath(QStringLiteral("found.png")));
    return 0;
}
