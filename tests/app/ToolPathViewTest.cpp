#include "app/toolpath/ToolPathView.h"
#include "AppFakes.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"
#include "convert/UnitPass.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"
#include "nc/ProgramText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

QString ExampleProgram()
{
    QFile file(QStringLiteral(BRINDLEWICK_DATA_DIR "/example.nc"));
    file.open(QIODevice::ReadOnly);
    return nc::DecodeCp932(file.readAll()).text;
}

class ToolPathViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<frmMain>(
            MainWindowServices{m_prompter, m_locks, m_dir.filePath(QStringLiteral("settings.ini")),
                               m_dir.filePath(QStringLiteral("app"))});
        m_window->Form_Load({});
        ReadTableFile(QStringLiteral(BRINDLEWICK_DATA_DIR "/") + DefaultTableFileName(),
                      m_window->State().Table);
        m_window->RichTextBox1->SetText(ExampleProgram());
        m_window->show();
    }

    ToolPathView *OpenView()
    {
        m_window->mnuViewToolPath->trigger();
        auto *view = m_window->findChild<ToolPathView *>(QStringLiteral("ToolPathView"));
        if (view)
            Settle(*view);
        return view;
    }

    static void Settle(ToolPathView &view)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !view.Busy(); }, 10000));
    }

    // The middle of the first segment drawn from `line`.
    static QPoint PointOnLine(const ToolPathView &view, std::int32_t line)
    {
        const toolpath::ToolPath &path = *view.picPath->Shown().source;
        const qsizetype i = toolpath::FirstSegmentOfLine(path, line);
        EXPECT_GE(i, 0);
        const toolpath::Segment &s = path.segments[std::size_t(std::max<qsizetype>(i, 0))];
        return view.picPath->ToScreen({(s.start.x + s.end.x) / 2, 0, (s.start.z + s.end.z) / 2}).toPoint();
    }

    QTemporaryDir m_dir;
    FakePrompter m_prompter;
    FakeKeyboardLocks m_locks;
    std::unique_ptr<frmMain> m_window;
};

} // namespace

TEST_F(ToolPathViewTest, OpensFromTheViewMenuAndClosesWithIt)
{
    EXPECT_EQ(m_window->mnuViewToolPath->objectName(), QStringLiteral("mnuViewToolPath"));
    EXPECT_EQ(m_window->mnuViewToolPath->text(), QStringLiteral("工具経路(&P)"));
    EXPECT_TRUE(m_window->mnuViewToolPath->isCheckable());
    EXPECT_TRUE(m_window->mnuView->actions().contains(m_window->mnuViewToolPath));
    ToolPathView *view = OpenView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("工具経路"));
    EXPECT_EQ(view->picPath->CurrentPlane(), ToolPathPlot::Plane::XZ);
    EXPECT_TRUE(view->lblSummary->text().contains(
        QRegularExpression(QStringLiteral("^旋盤 \\d+ 区間  加工時間 約 \\d+ 分 \\d\\d 秒$"))))
        << view->lblSummary->text().toStdString();
    view->close();
    EXPECT_FALSE(m_window->mnuViewToolPath->isChecked());
    m_window->mnuViewToolPath->trigger();
    EXPECT_TRUE(view->isVisible());
}

// A click on a segment selects its line in the source pane (on a roughing pass, the cycle's block); the
// caret's line is the highlighted one.
TEST_F(ToolPathViewTest, ClickSelectsTheLineAndTheCaretPicksTheSegment)
{
    ToolPathView *view = OpenView();
    ASSERT_NE(view, nullptr);
    QTest::mouseClick(view->picPath, Qt::LeftButton, {}, PointOnLine(*view, 9));
    EXPECT_EQ(m_window->RichTextBox1->SelText(), QStringLiteral("G71 P10 Q20 U0.4 W0.1 F0.25"));
    EXPECT_EQ(view->picPath->HighlightedLine(), 9);

    const QString text = m_window->RichTextBox1->Text();
    m_window->RichTextBox1->SetSelStart(text.indexOf(QStringLiteral("G02 X50.")) + 3);
    EXPECT_EQ(view->picPath->HighlightedLine(), 14);
}

// A shown result is drawn with the source and compared; OK or Cancel take it away again.
TEST_F(ToolPathViewTest, ComparesTheResultWhileItIsShown)
{
    ToolPathView *view = OpenView();
    ASSERT_NE(view, nullptr);
    const TranslationResult translated =
        TranslateProgram(m_window->RichTextBox1->Text(), m_window->State().Table, TranslatorOptions());
    m_window->SetResultText(translated.text);
    m_window->ShowConversionResult();
    Settle(*view);
    ASSERT_TRUE(view->picPath->Shown().result);
    // the roughing cycle's ways back from each level and from its last pass
    EXPECT_TRUE(view->lblSummary->text().contains(QStringLiteral("相違 元 8 / 結果 8 箇所")))
        << view->lblSummary->text().toStdString();

    // a click on a move only the result makes selects it in the result pane: the LAP call's way back from
    // its first level, 0.4 mm (as a radius) inside FANUC's after its larger retract
    const toolpath::ToolPath &result = *view->picPath->Shown().result;
    qsizetype i = toolpath::FirstSegmentOfLine(result, 8);
    ASSERT_GE(i, 0);
    while (std::size_t(i) < result.segments.size() &&
           !(result.segments[std::size_t(i)].end.z > result.segments[std::size_t(i)].start.z + 10))
        ++i;
    ASSERT_LT(std::size_t(i), result.segments.size());
    const toolpath::Segment &s = result.segments[std::size_t(i)];
    const toolpath::Point3 middle{(s.start.x + s.end.x) / 2, 0, (s.start.z + s.end.z) / 2};
    // zoomed in around it until it stands apart from the source's path
    for (int step = 0; step < 12; ++step) {
        const QPointF at = view->picPath->ToScreen(middle);
        QWheelEvent wheel(at, view->picPath->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->picPath, &wheel);
    }
    QTest::mouseClick(view->picPath, Qt::LeftButton, {}, view->picPath->ToScreen(middle).toPoint());
    EXPECT_EQ(m_window->RichTextBox2->SelText(), QStringLiteral("N000 G85 NLAP1 D4 U0.4 W0.1 F0.25"));

    m_window->Command2_Click();
    Settle(*view);
    EXPECT_FALSE(view->picPath->Shown().result);
    EXPECT_FALSE(view->lblSummary->text().contains(QStringLiteral("相違")));
}

// The path follows the text a moment after it changes, and the manual choice of the plane holds.
TEST_F(ToolPathViewTest, FollowsTheTextAndThePlaneChoice)
{
    ToolPathView *view = OpenView();
    ASSERT_NE(view, nullptr);
    m_window->RichTextBox1->SetText(QStringLiteral("G00 X0 Y0\r\nG01 X10. Y10. F100\r\nG01 X#1\r\n"));
    EXPECT_TRUE(view->Busy());
    Settle(*view);
    EXPECT_EQ(view->picPath->CurrentPlane(), ToolPathPlot::Plane::XY);
    EXPECT_EQ(view->lblSummary->text(),
              QStringLiteral(
                  "フライス 1 区間  加工時間 約 0 分 08 秒  描けない語 1 (読めない 1、範囲外 0、円弧 0)"));
    view->cboPlane->setCurrentIndex(1);
    EXPECT_EQ(view->picPath->CurrentPlane(), ToolPathPlot::Plane::XZ);
    m_window->RichTextBox1->SetText(QStringLiteral("G00 X0 Y0\r\nG01 X20. Y10. F100\r\n"));
    Settle(*view);
    EXPECT_EQ(view->picPath->CurrentPlane(), ToolPathPlot::Plane::XZ);
    view->cboPlane->setCurrentIndex(0);
    EXPECT_EQ(view->picPath->CurrentPlane(), ToolPathPlot::Plane::XY);

    // a cycle that cannot be expanded is named with its line
    m_window->RichTextBox1->SetText(QStringLiteral("G00 X62. Z5.\r\nG70 P10 Q20\r\nG71 U0.001 R1.\r\n"
                                                   "G71 P10 Q20\r\nN10 G00 X30.\r\nN20 G01 Z-20.\r\n"));
    Settle(*view);
    EXPECT_EQ(view->lblSummary->text(),
              QStringLiteral("旋盤 2 区間  加工時間 約 0 分 00 秒  展開できないサイクル 2 "
                             "(2 行: 仕上げる形状がない)"));
}

// A unit change writes no G20/G21: its result is drawn and compared in the source's unit. The home
// return differs (the table's home position is in millimetres whatever unit the program is in), and so do
// the retracts of the two roughing cuts that end on the slope: the allowances, written to a ten-thousandth
// of an inch, move their ends by up to 0.016 mm.
TEST_F(ToolPathViewTest, DrawsAResultInAnotherUnitInTheSourcesUnit)
{
    ToolPathView *view = OpenView();
    ASSERT_NE(view, nullptr);
    m_window->SetResultText(ConvertUnit(m_window->RichTextBox1->Text(), UnitOption::MmToInch));
    m_window->ShowConversionResult();
    Settle(*view);
    EXPECT_TRUE(view->lblSummary->text().contains(
        QStringLiteral("相違 元 3 / 結果 3 箇所 (結果を 25.4 倍して表示・比較)  結果 加工時間 約 ")))
        << view->lblSummary->text().toStdString();
    const toolpath::ToolPath &source = *view->picPath->Shown().source;
    const toolpath::ToolPath &result = *view->picPath->Shown().result;
    ASSERT_EQ(result.segments.size(), source.segments.size());
    EXPECT_EQ(source.segments.back().line, 25); // G28 U0. W0.
    for (std::size_t i = 0; i + 1 < source.segments.size(); ++i) {
        EXPECT_NEAR(result.segments[i].end.x, source.segments[i].end.x, 0.02) << i;
        EXPECT_NEAR(result.segments[i].end.z, source.segments[i].end.z, 0.02) << i;
    }
    EXPECT_EQ(view->picPath->Shown().comparison->resultDiffers.back(), 1);
}
