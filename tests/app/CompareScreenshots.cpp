// Draws the main window with a conversion result and its marks into PNG files, to look at the marks,
// the scrolling together and the heading (not a test). `xvfb-run compare_screenshots DIR`
#include "AppFakes.h"
#include "app/review/ResultCompare.h"
#include "app/pane/AppFonts.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"
#include "convert/UnitPass.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString ReadProgram(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    auto decode = QStringDecoder("windows-31j");
    return decode(file.readAll());
}

bool Save(frmMain &window, const QString &path)
{
    QApplication::processEvents();
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

void ShowResult(frmMain &window, const QString &source, const QString &result)
{
    window.Command2_Click();
    window.RichTextBox1->SetText(source);
    window.SetResultText(result);
    window.ShowConversionResult();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallJapaneseFontSubstitutes();
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const QString source = ReadProgram(QStringLiteral(BRINDLEWICK_DATA_DIR "/example.nc"));
    ConversionTable table;
    ReadTableFile(QStringLiteral(BRINDLEWICK_DATA_DIR "/オークマ 旋盤 FANUC-OSP.csv"), table);
    const TranslationResult translated = TranslateProgram(source, table, TranslatorOptions{});

    QTemporaryDir settings;
    FakePrompter prompter;
    FakeKeyboardLocks locks;
    frmMain window(
        MainWindowServices{prompter, locks, settings.filePath(QStringLiteral("s.ini")), settings.path()});
    window.Form_Load({});
    window.show();

    ShowResult(window, source, ConvertUnit(source, UnitOption::MmToUm));
    bool ok = Save(window, out.filePath(QStringLiteral("compare-unit.png")));
    ShowResult(window, source, translated.text);
    ok = Save(window, out.filePath(QStringLiteral("compare-translator.png"))) && ok;
    // the second run of changes brought into view with F7, the panes scrolled together
    ShowResult(window, source, ConvertUnit(source, UnitOption::MmToUm));
    window.resize(window.width(), 360);
    for (int i = 0; i < 2; ++i)
        window.mnuViewNextChange->trigger();
    ok = Save(window, out.filePath(QStringLiteral("compare-unit-next.png"))) && ok;
    ShowResult(window, source, translated.text);
    window.resize(560, 500);
    ok = Save(window, out.filePath(QStringLiteral("compare-narrow.png"))) && ok;
    // a safe-start block in inches before the example: lines to check, counted in red and tinted
    const QString guarded = QStringLiteral("G18 G20 G40 G80 G90 G99\r\n") + source;
    const TranslationResult flagged = TranslateProgram(guarded, table, TranslatorOptions{});
    window.resize(800, 667);
    window.RichTextBox1->SetText(guarded);
    window.SetResultText(flagged.text);
    window.SetLinesToCheck(flagged.flaggedLines);
    window.ShowConversionResult();
    ok = Save(window, out.filePath(QStringLiteral("compare-lines-to-check.png"))) && ok;
    return ok ? 0 : 1;
}
