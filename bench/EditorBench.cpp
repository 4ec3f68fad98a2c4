// Measures the editor on one large program file: opening it into the source pane the way File > Open
// does, showing a conversion result, accepting it with OK, Find next to the end of the text, typing and
// scrolling. Run with QT_QPA_PLATFORM=offscreen; prints one "name<TAB>seconds" line per measurement.
// "--colour off" after the file measures the panes with their NC colours turned off.

#include "app/convert/Space.h"
#include "app/pane/TextPane.h"
#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"
#include "app/window/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <cstdio>
#include <functional>

namespace {

// Answers File > Open with the program to measure; every other question is answered yes.
class BenchPrompter final : public Prompter
{
public:
    explicit BenchPrompter(QString path) : m_path(std::move(path)) {}

    bool AskYesNo(QWidget *, const QString &, const QString &) override { return true; }
    void ShowMessage(QWidget *, const QString &, const QString &text, Icon) override { messages << text; }
    FileChoice ChooseFileToOpen(QWidget *, const QString &, const QString &) override { return {m_path, {}}; }
    FileChoice ChooseFileToSave(QWidget *, const QString &folder, const QString &) override
    {
        return {{}, folder};
    }

    QStringList messages;

private:
    QString m_path;
};

class NoKeyboardLocks final : public KeyboardLocks
{
public:
    bool IsOn(int) const override { return false; }
    void PressKey(int) override {}
};

// The time of one step, including the repaint the user waits for.
double Seconds(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents();
    return timer.nsecsElapsed() / 1e9;
}

void Report(const char *name, double seconds)
{
    std::printf("%s\t%.4f\n", name, seconds);
    std::fflush(stdout);
}

template <typename T> T *Child(QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QLatin1String(name));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: brindlewick-bench-editor PROGRAM-FILE [--colour on|off] [--recovery]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir settings;
    BenchPrompter prompter(path);
    NoKeyboardLocks locks;
    const QStringList options = app.arguments().mid(2);
    MainWindowServices services{prompter, locks, settings.filePath(QStringLiteral("settings.ini")),
                                QCoreApplication::applicationDirPath()};
    // With --recovery the editor keeps recovery copies, as it does when installed.
    if (options.contains(QStringLiteral("--recovery")))
        services.recoveryFolder = settings.filePath(QStringLiteral("recovery"));
    frmMain window(services);
    window.Form_Load({});
    const qsizetype colour = options.indexOf(QStringLiteral("--colour"));
    if (colour >= 0 && options.value(colour + 1) == QStringLiteral("off"))
        window.mnuViewColor->trigger();
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
    TextPane &source = *window.RichTextBox1;

    Report("open", Seconds([&] { window.mnuFileOpen_Click(); }));
    if (source.SystemLength() == 0) {
        std::fprintf(stderr, "the program was not opened: %s\n", qPrintable(prompter.messages.join(u'\n')));
        return 1;
    }

    // The result of a conversion is about as long as the program.
    const QString result = source.Text();
    Report("result pane", Seconds([&] {
               window.SetResultText(result);
               window.ShowConversionResult();
           }));
    Report("ok", Seconds([&] { window.Command1->click(); }));

    // The whole conversion as the Space dialog's OK runs it: the source text, the pass, the result pane.
    Report("space dialog", Seconds([&] {
               Space dialog(window, &window);
               Child<QPushButton>(dialog, "OKButton")->click();
           }));
    Report("ok again", Seconds([&] { window.Command1->click(); }));

    // Find next from the top for a text that stands only at the end of the program.
    window.State().Search.FindText = QStringLiteral("M30\r\n%");
    source.SetSelStart(0);
    Report("find next", Seconds([&] { window.mnuEditNextFind_Click(); }));
    if (source.SelStart() + source.SelLength() + 2 != source.SystemLength())
        std::fprintf(stderr, "find next did not reach the end of the text\n");

    // Typing in the middle of the program, and paging down through it: the time of one key.
    source.setFocus();
    source.SetSelStart(source.SystemLength() / 2);
    constexpr int Keys = 20;
    Report("type a key", Seconds([&] {
                             for (int i = 0; i < Keys; ++i) {
                                 QTest::keyClick(&source, Qt::Key_A);
                                 QApplication::processEvents();
                             }
                         }) / Keys);
    Report("page down", Seconds([&] {
                            for (int i = 0; i < Keys; ++i) {
                                QTest::keyClick(&source, Qt::Key_PageDown);
                                QApplication::processEvents();
                            }
                        }) / Keys);
    Report("end of text", Seconds([&] { QTest::keyClick(&source, Qt::Key_End, Qt::ControlModifier); }));

    // Typing on after a pause, in which a recovery copy (when kept) is taken and, while these keys are
    // typed, written on its own thread; and the taking of the text for a copy after a key (the window
    // stops for this long once after typing stops and once every 30 s of typing).
    QTest::keyClick(&source, Qt::Key_A);
    QTest::qWait(2100);
    Report("type a key after a pause", Seconds([&] {
                                           for (int i = 0; i < Keys; ++i) {
                                               QTest::keyClick(&source, Qt::Key_A);
                                               QApplication::processEvents();
                                           }
                                       }) / Keys);
    Report("text for a copy", Seconds([&] { (void)source.TakeSnapshot(); }));
    return 0;
}
