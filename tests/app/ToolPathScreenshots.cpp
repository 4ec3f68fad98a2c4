// Draws the tool path window into PNG files, to look at it (not a test): the example program's path, and
// the example with its translation while the result is shown. `xvfb-run toolpath_screenshots DIR`.
#include "AppFakes.h"
#include "app/pane/AppFonts.h"
#include "app/pane/TextPane.h"
#include "app/toolpath/ToolPathView.h"
#include "app/window/frmMain.h"
#include "convert/UnitPass.h"
#include "convert/XyCxPass.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"
#include "nc/ProgramText.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

bool Save(QWidget &window, const QString &path)
{
    QApplication::processEvents();
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallJapaneseFontSubstitutes();
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QTemporaryDir settings;
    FakePrompter prompter;
    FakeKeyboardLocks locks;
    frmMain window(MainWindowServices{prompter, locks, settings.filePath(QStringLiteral("settings.ini")),
                                      settings.filePath(QStringLiteral("app"))});
    window.Form_Load({});
    ReadTableFile(QStringLiteral(BRINDLEWICK_DATA_DIR "/") + DefaultTableFileName(), window.State().Table);
    QFile file(QStringLiteral(BRINDLEWICK_DATA_DIR "/example.nc"));
    file.open(QIODevice::ReadOnly);
    window.RichTextBox1->SetText(nc::DecodeCp932(file.readAll()).text);
    window.show();
    // the view menu with its entry
    window.mnuView->popup(window.mapToGlobal(QPoint(120, 20)));
    bool ok = Save(*window.mnuView, dir.filePath(QStringLiteral("ToolPath-menu.png")));
    window.mnuView->hide();
    window.mnuViewToolPath->trigger();
    auto *view = window.findChild<ToolPathView *>(QStringLiteral("ToolPathView"));
    const auto settle = [&] { return QTest::qWaitFor([&] { return !view->Busy(); }, 10000); };
    ok = settle() && ok;
    window.RichTextBox1->SetSelStart(window.RichTextBox1->Text().indexOf(QStringLiteral("G02 X50.")));
    ok = Save(*view, dir.filePath(QStringLiteral("ToolPath-example.png"))) && ok;

    const TranslationResult translated =
        TranslateProgram(window.RichTextBox1->Text(), window.State().Table, TranslatorOptions());
    window.SetResultText(translated.text);
    window.ShowConversionResult();
    ok = settle() && ok;
    ok = Save(*view, dir.filePath(QStringLiteral("ToolPath-translated.png"))) && ok;
    ok = Save(window, dir.filePath(QStringLiteral("ToolPath-main-window.png"))) && ok;

    // the unit change to inches: drawn and compared in millimetres
    window.SetResultText(ConvertUnit(window.RichTextBox1->Text(), UnitOption::MmToInch));
    window.ShowConversionResult();
    ok = settle() && ok;
    ok = Save(*view, dir.filePath(QStringLiteral("ToolPath-unit.png"))) && ok;

    // a mill contour and its XY-CX conversion: X against Y, the polar result over the source
    window.Command1_Click();
    window.RichTextBox1->SetText(QStringLiteral("G90 G00 X-30. Y-20. Z5.\r\nG01 Z-1. F200\r\nX30.\r\n"
                                                "G03 X40. Y-10. R10.\r\nG01 Y10.\r\nG03 X30. Y20. I-10.\r\n"
                                                "G01 X-30.\r\nG03 X-40. Y10. J-10.\r\nG01 Y-10.\r\n"
                                                "G03 X-30. Y-20. I10.\r\nG00 Z5.\r\nX0 Y0\r\n"));
    ok = settle() && ok;
    window.SetResultText(ConvertXyCx(window.RichTextBox1->Text(), XyCxDirection::ToCx));
    window.ShowConversionResult();
    ok = settle() && ok;
    ok = Save(*view, dir.filePath(QStringLiteral("ToolPath-xycx.png"))) && ok;
    return ok ? 0 : 1;
}
