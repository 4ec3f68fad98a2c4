#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/machine/Machine.h"
#include "tests/machine/TranslatorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

using namespace translator_test;

namespace {

// The main window as the dialog sees it: a program to translate, and a record of what comes back.
class TranslateHost : public ConversionHost
{
public:
    AppState state;
    QString source;
    QString result = u"(untouched)"_qs;
    qsizetype caret = -1;
    qsizetype linesToCheck = -1;
    int resultsShown = 0;

    AppState &State() override { return state; }
    QString SourceText() const override { return source; }
    void SetResultText(const QString &text) override { result = text; }
    void ShowConversionResult() override { ++resultsShown; }
    void EnableUndo() override {}
    void SetResultCaret(qsizetype position) override { caret = position; }
    void SetLinesToCheck(qsizetype lines) override { linesToCheck = lines; }
};

struct Shown
{
    QMessageBox::Icon icon;
    QString text;
};

class MachineTranslate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // No table file named: the dialog shows the table already in memory.
        m_host.state.Table = StandardTable();
        MachineServices services;
        services.ChooseFile = [](QWidget *, const QString &, const QString &) { return QString(); };
        services.ShowMessage = [this](QWidget *, QMessageBox::Icon icon, const QString &text) {
            m_messages.push_back({icon, text});
        };
        m_dialog = std::make_unique<Machine>(m_host, nullptr, services);
        m_dialog->show();
    }

    void Translate(const Lines &program, bool stopNewline = false)
    {
        m_host.source = Program(program);
        m_dialog->findChild<QCheckBox *>(u"Check1"_qs)->setChecked(stopNewline);
        QTest::mouseClick(m_dialog->findChild<QPushButton *>(u"OKButton"_qs), Qt::LeftButton);
    }

    TranslateHost m_host;
    std::vector<Shown> m_messages;
    std::unique_ptr<Machine> m_dialog;
};

} // namespace

TEST_F(MachineTranslate, PutsTheResultAndCloses)
{
    Translate({u"G00 X50. Z5.", u"M01"});
    EXPECT_EQ(m_host.result, u"NMAX G50 S3000\r\nN000 G00 X50 Z5\r\nNSTP M01\r\n"_qs);
    EXPECT_EQ(m_host.caret, 1);
    EXPECT_EQ(m_host.linesToCheck, 0);
    EXPECT_EQ(m_host.resultsShown, 1);
    EXPECT_EQ(m_host.state.UndoText, m_host.source);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    // a unit the translation would drop is a line to check, counted with the result
    Translate({u"G20", u"G00 X50. Z5."});
    EXPECT_EQ(m_host.linesToCheck, 1);
    EXPECT_TRUE(m_host.result.contains(u"(要確認 G20 )"_qs));
}

TEST_F(MachineTranslate, CheckBoxAddsALineAfterAStop)
{
    Translate({u"G00 X50. Z5.", u"M01"}, true);
    EXPECT_EQ(m_host.result, u"NMAX G50 S3000\r\nN000 G00 X50 Z5\r\nNSTP M01\r\n\r\n"_qs);
}

// A failure keeps what was translated before it, is reported, and offers nothing for acceptance.
TEST_F(MachineTranslate, FailureKeepsTheLinesAndTheDialog)
{
    struct Case
    {
        const char *name;
        Lines program;
        QMessageBox::Icon icon;
    } cases[] = {
        {"M code the table does not name", {u"G00 X50. Z5.", u"M77"}, QMessageBox::Critical},
        {"no diameter for the spindle speed",
         {u"G00 X50. Z5.", u"G28 U0 W0", u"G96 S100", u"G97"},
         QMessageBox::NoIcon},
    };
    for (const Case &c : cases) {
        m_messages.clear();
        Translate(c.program);
        const TranslationResult expected = TranslateProgram(m_host.source, StandardTable(), {});
        EXPECT_TRUE(expected.failed) << c.name;
        EXPECT_EQ(m_host.result, expected.text) << c.name;
        EXPECT_TRUE(m_host.result.startsWith(u"NMAX G50 S3000\r\nN000 G00 X50 Z5\r\n"_qs)) << c.name;
        ASSERT_EQ(m_messages.size(), 1u) << c.name;
        EXPECT_EQ(m_messages[0].icon, c.icon) << c.name;
        EXPECT_EQ(m_messages[0].text, expected.message) << c.name;
        EXPECT_EQ(m_host.resultsShown, 0) << c.name;
        EXPECT_EQ(m_host.caret, -1) << c.name;
        EXPECT_TRUE(m_dialog->isVisible()) << c.name;
    }
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
