#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/machine/FlexGrid.h"
#include "app/machine/Machine.h"
#include "machine/TableFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class FakeHost : public ConversionHost
{
public:
    AppState state;
    AppState &State() override { return state; }
    QString SourceText() const override { return QString(); }
    void SetResultText(const QString &) override {}
    void ShowConversionResult() override {}
    void EnableUndo() override {}
};

struct Shown
{
    QMessageBox::Icon icon;
    QString text;
};

// Answers the file dialog with a prepared path and keeps every message instead of showing it.
struct FakeServices
{
    QString answer;
    QString askedFolder;
    QString askedFilter;
    std::vector<Shown> messages;

    MachineServices Make()
    {
        MachineServices services;
        services.ChooseFile = [this](QWidget *, const QString &folder, const QString &filter) {
            askedFolder = folder;
            askedFilter = filter;
            return answer;
        };
        services.ShowMessage = [this](QWidget *, QMessageBox::Icon icon, const QString &text) {
            messages.push_back({icon, text});
        };
        return services;
    }
};

QString U(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString DefaultTableSource()
{
    return QDir(QStringLiteral(BRINDLEWICK_DATA_DIR)).filePath(DefaultTableFileName());
}

class MachineDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(QFile::copy(DefaultTableSource(), m_folder.filePath(DefaultTableFileName())));
        m_host.state.MachinePath = m_folder.path();
        m_host.state.MachineFileName = DefaultTableFileName();
    }

    // Opens the dialog shown and active, as the main window does, so that focus moves as for a user.
    Machine &Open()
    {
        m_dialog = std::make_unique<Machine>(m_host, nullptr, m_services.Make());
        m_dialog->show();
        m_dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
        return *m_dialog;
    }

    template <typename T> T *Control(const char *name) const
    {
        T *control = m_dialog->findChild<T *>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    FlexGrid *Grid() const { return Control<FlexGrid>("MSFlexGrid1"); }
    QLineEdit *Editor() const { return Control<QLineEdit>("Text1"); }
    ConversionTable &Table() { return m_host.state.Table; }

    // The first key goes to the grid and opens the editor, which takes the rest.
    void TypeIntoGrid(const QString &text)
    {
        QTest::keyClicks(Grid(), text.left(1));
        if (text.size() > 1)
            QTest::keyClicks(Editor(), text.mid(1));
    }

    void ClickCell(int row, int col)
    {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->CellRect(row, col).center());
    }

    QTemporaryDir m_folder;
    FakeHost m_host;
    FakeServices m_services;
    std::unique_ptr<Machine> m_dialog;
};

TEST_F(MachineDialog, HasEveryControlWithItsText)
{
    Open();
    EXPECT_EQ(m_dialog->windowTitle(), U("機種間の変換"));
    EXPECT_EQ(
        Control<QLabel>("Label2")->text(),
        U("FANUC旋盤→OSP (U,W,G0-4,G28,G30,G32,G40-42,G50,G53 G65 ,G66,G67,G74,G75,G76,G80,G83,G84,G85,G87 ,"
          "G88,G89,G90,G92 G94,G96,G97,G98,G99     対応済)"));
    EXPECT_EQ(Control<QLabel>("Label1")->text(), U("設定ファイル名"));
    EXPECT_EQ(Control<QPushButton>("Command1")->text(), U("ファイル読込"));
    EXPECT_EQ(Control<QPushButton>("Command2")->text(), U("保存"));
    EXPECT_EQ(Control<QCheckBox>("Check1")->text(), U("M00,M01の後に改行を追加。"));
    EXPECT_FALSE(Control<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(Control<QPushButton>("OKButton")->text(), U("変　換"));
    EXPECT_EQ(Control<QPushButton>("CancelButton")->text(), U("ｷｬﾝｾﾙ"));
    EXPECT_FALSE(Editor()->isVisible());
    QTest::mouseClick(Control<QPushButton>("CancelButton"), Qt::LeftButton);
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(m_dialog->isVisible());
}

TEST_F(MachineDialog, SetsUpTheGrid)
{
    Open();
    FlexGrid *grid = Grid();
    EXPECT_EQ(grid->Rows(), 101);
    EXPECT_EQ(grid->Cols(), 4);
    const char *headers[] = {"No.", "項　目", "変換前", "変換後"};
    const int widths[] = {30, 177, 143, 143};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(grid->TextMatrix(0, c), U(headers[c]));
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
        EXPECT_EQ(grid->horizontalHeaderItem(c)->textAlignment(), int(Qt::AlignCenter));
    }
    EXPECT_EQ(grid->horizontalHeader()->height(), 23);
    for (int r = 1; r <= 100; ++r) {
        EXPECT_EQ(grid->rowHeight(r - 1), 23);
        EXPECT_EQ(grid->TextMatrix(r, 0), QString::number(r));
        EXPECT_EQ(grid->item(r - 1, 0)->textAlignment(), int(Qt::AlignCenter));
        EXPECT_EQ(grid->item(r - 1, 1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
        EXPECT_EQ(grid->item(r - 1, 2)->textAlignment(), int(Qt::AlignCenter));
        EXPECT_EQ(grid->item(r - 1, 3)->textAlignment(), int(Qt::AlignCenter));
    }
    // The whole width of the four columns shows without scrolling sideways.
    EXPECT_GE(grid->viewport()->width(), 30 + 177 + 143 + 143);
}

TEST_F(MachineDialog, LoadsTheTableFileIntoTableAndGrid)
{
    Open();
    EXPECT_EQ(Control<QLineEdit>("MachineFile")->text(), U("オークマ 旋盤 FANUC-OSP.CSV"));
    EXPECT_EQ(Table().Row(2).before, U("FANUC"));
    for (int r = 1; r <= 100; ++r) {
        EXPECT_EQ(Grid()->TextMatrix(r, 1), Table().Row(r).item.value_or(QString()));
        EXPECT_EQ(Grid()->TextMatrix(r, 2), Table().Row(r).before.value_or(QString()));
        EXPECT_EQ(Grid()->TextMatrix(r, 3), Table().Row(r).after);
    }
    EXPECT_EQ(Grid()->Row(), 1);
    EXPECT_EQ(Grid()->Col(), 2);
    EXPECT_TRUE(m_services.messages.empty());
}

TEST_F(MachineDialog, ShowsRowsAShortFileDoesNotReach)
{
    QFile file(m_folder.filePath(QStringLiteral("short.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("h,,\r\nh,,\r\n\"a\",\"b\",\"c\"\r\n");
    file.close();
    m_host.state.MachineFileName = QStringLiteral("short.csv");
    Table().Row(2) = {QStringLiteral("kept"), QStringLiteral("M02"), QStringLiteral("M02")};
    Open();
    EXPECT_EQ(Grid()->TextMatrix(1, 2), QStringLiteral("b"));
    // The translator would use row 2 as it is, so the grid shows it.
    EXPECT_EQ(Grid()->TextMatrix(2, 1), QStringLiteral("kept"));
    EXPECT_EQ(Control<QLineEdit>("MachineFile")->text(), QStringLiteral("SHORT.CSV"));
}

TEST_F(MachineDialog, ReportsATableFileThatCannotBeRead)
{
    struct Case
    {
        const char *name;
        QByteArray content; // empty: no file at all
        int rowsKept;       // rows the failing read has filled
    };
    const Case cases[] = {
        {"missing file", QByteArray(), 0},
        {"row cut short", "h,,\r\nh,,\r\n\"a\",\"b\",\"c\"\r\n\"d\"\r\n", 1},
        {"binary file", QByteArray("\x00\x81\x7f\xff\xfe", 5), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        m_host.state.Table = ConversionTable();
        m_host.state.MachineFileName = QStringLiteral("bad.csv");
        QFile::remove(m_folder.filePath(QStringLiteral("bad.csv")));
        if (!c.content.isEmpty()) {
            QFile file(m_folder.filePath(QStringLiteral("bad.csv")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }
        m_services.messages.clear();
        Open();
        ASSERT_EQ(m_services.messages.size(), 1u);
        EXPECT_EQ(m_services.messages[0].text, U("変換ファイル名エラー"));
        EXPECT_EQ(m_services.messages[0].icon, QMessageBox::NoIcon);
        EXPECT_EQ(Control<QLineEdit>("MachineFile")->text(), QString());
        EXPECT_EQ(Grid()->TextMatrix(1, 1), c.rowsKept ? QStringLiteral("a") : QString());
        EXPECT_EQ(Table().Row(1).item,
                  c.rowsKept ? std::optional<QString>(QStringLiteral("a")) : std::nullopt);
    }
}

// One step of a user's editing: what is done, and to which widget.
struct Step
{
    enum Kind
    {
        GridKeys,
        GridKey,
        EditorKeys,
        EditorKey,
        DoubleClick,
        ClickCell,
        Compose
    } kind;
    QString text = QString();
    Qt::Key key = Qt::Key_unknown;
    int row = 0;
    int col = 0;
};

struct EditCase
{
    const char *name;
    int row, col; // the current cell before the steps
    std::vector<Step> steps;
    int cellRow, cellCol; // the cell whose text and table field are checked
    QString expected;     // the text expected in that cell and in the table
    int endRow, endCol;   // the current cell after the steps
    bool editorOpen;
};

QString FieldText(const ConversionTable &table, int row, int col)
{
    const ConversionTableRow &entry = table.Row(row);
    return col == 1   ? entry.item.value_or(QString())
           : col == 2 ? entry.before.value_or(QString())
                      : entry.after;
}

TEST_F(MachineDialog, EditsCellsThroughTheFloatingEditor)
{
    const EditCase cases[] = {
        {"typing on row 7 item and Enter",
         7,
         1,
         {{Step::GridKeys, QStringLiteral("A")},
          {Step::EditorKeys, QStringLiteral("BC")},
          {Step::EditorKey, {}, Qt::Key_Return}},
         7,
         1,
         QStringLiteral("ABC"),
         8,
         1,
         false},
        {"item of rows 1 to 6 is fixed",
         3,
         1,
         {{Step::GridKeys, QStringLiteral("x")}},
         3,
         1,
         U("工具管理（ON/OFF）"),
         3,
         1,
         false},
        {"before of row 3 edits, Tab commits and moves down",
         3,
         2,
         {{Step::GridKeys, QStringLiteral("x")}, {Step::EditorKey, {}, Qt::Key_Tab}},
         3,
         2,
         QStringLiteral("x"),
         4,
         2,
         false},
        {"Esc drops the edit",
         10,
         3,
         {{Step::GridKeys, QStringLiteral("Z")}, {Step::EditorKey, {}, Qt::Key_Escape}},
         10,
         3,
         QStringLiteral("M03"),
         10,
         3,
         false},
        {"Up commits and moves up",
         10,
         2,
         {{Step::GridKeys, QStringLiteral("Q")}, {Step::EditorKey, {}, Qt::Key_Up}},
         10,
         2,
         QStringLiteral("Q"),
         9,
         2,
         false},
        {"Down commits and moves down",
         10,
         2,
         {{Step::GridKeys, QStringLiteral("Q")}, {Step::EditorKey, {}, Qt::Key_Down}},
         10,
         2,
         QStringLiteral("Q"),
         11,
         2,
         false},
        {"Up stops at row 1",
         1,
         3,
         {{Step::GridKeys, QStringLiteral("q")}, {Step::EditorKey, {}, Qt::Key_Up}},
         1,
         3,
         QStringLiteral("q"),
         1,
         3,
         false},
        {"Down stops at row 100",
         100,
         3,
         {{Step::GridKeys, QStringLiteral("q")}, {Step::EditorKey, {}, Qt::Key_Down}},
         100,
         3,
         QStringLiteral("q"),
         100,
         3,
         false},
        {"Enter stops at row 100",
         100,
         2,
         {{Step::GridKeys, QStringLiteral("q")}, {Step::EditorKey, {}, Qt::Key_Enter}},
         100,
         2,
         QStringLiteral("q"),
         100,
         2,
         false},
        {"Enter in the grid edits the cell's text",
         6,
         2,
         {{Step::GridKey, {}, Qt::Key_Return},
          {Step::EditorKeys, QStringLiteral("1")},
          {Step::EditorKey, {}, Qt::Key_Return}},
         6,
         2,
         QStringLiteral("M001"),
         7,
         2,
         false},
        {"the space edits the cell's text",
         16,
         3,
         {{Step::GridKeys, QStringLiteral(" ")},
          {Step::EditorKey, {}, Qt::Key_Backspace},
          {Step::EditorKey, {}, Qt::Key_Down}},
         16,
         3,
         QStringLiteral("CAL"),
         17,
         3,
         false},
        {"double click edits the cell's text",
         1,
         1,
         {{Step::DoubleClick, {}, Qt::Key_unknown, 2, 3},
          {Step::EditorKeys, QStringLiteral("-P")},
          {Step::EditorKey, {}, Qt::Key_Return}},
         2,
         3,
         QStringLiteral("OSP-P"),
         3,
         3,
         false},
        {"double click on a fixed item does nothing",
         1,
         2,
         {{Step::DoubleClick, {}, Qt::Key_unknown, 2, 1}},
         2,
         1,
         U("機種（変換前→変換後）"),
         2,
         1,
         false},
        {"a click on another cell commits",
         8,
         2,
         {{Step::GridKeys, QStringLiteral("M77")}, {Step::ClickCell, {}, Qt::Key_unknown, 9, 3}},
         8,
         2,
         QStringLiteral("M77"),
         9,
         3,
         false},
        {"composed Japanese text starts an edit",
         40,
         1,
         {{Step::Compose, U("主軸")}, {Step::EditorKey, {}, Qt::Key_Return}},
         40,
         1,
         U("主軸"),
         41,
         1,
         false},
        {"the editor stays open while typing",
         50,
         3,
         {{Step::GridKeys, QStringLiteral("M9")}},
         50,
         3,
         QString(),
         50,
         3,
         true},
    };
    for (const EditCase &c : cases) {
        SCOPED_TRACE(c.name);
        m_host.state.Table = ConversionTable();
        Open();
        FlexGrid *grid = Grid();
        grid->SetCurrent(c.row, c.col);
        grid->setFocus();
        for (const Step &step : c.steps) {
            switch (step.kind) {
            case Step::GridKeys:
                TypeIntoGrid(step.text);
                break;
            case Step::GridKey:
                QTest::keyClick(grid, step.key);
                break;
            case Step::EditorKeys:
                QTest::keyClicks(Editor(), step.text);
                break;
            case Step::EditorKey:
                QTest::keyClick(Editor(), step.key);
                break;
            case Step::DoubleClick:
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                                   grid->CellRect(step.row, step.col).center());
                break;
            case Step::ClickCell:
                ClickCell(step.row, step.col);
                break;
            case Step::Compose: {
                QInputMethodEvent event;
                event.setCommitString(step.text);
                QApplication::sendEvent(grid, &event);
                break;
            }
            }
        }
        EXPECT_EQ(Editor()->isVisible(), c.editorOpen);
        if (!c.editorOpen) {
            EXPECT_EQ(grid->TextMatrix(c.cellRow, c.cellCol), c.expected);
            EXPECT_EQ(FieldText(Table(), c.cellRow, c.cellCol), c.expected);
        }
        EXPECT_EQ(grid->Row(), c.endRow);
        EXPECT_EQ(grid->Col(), c.endCol);
        m_dialog.reset();
    }
}

TEST_F(MachineDialog, EditorCoversTheCellInLightYellow)
{
    Open();
    FlexGrid *grid = Grid();
    const struct
    {
        int row, col;
        Qt::Alignment alignment;
    } cells[] = {
        {7, 1, Qt::AlignLeft | Qt::AlignVCenter}, {12, 2, Qt::AlignCenter}, {14, 3, Qt::AlignCenter}};
    for (const auto &cell : cells) {
        grid->SetCurrent(cell.row, cell.col);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
        ASSERT_TRUE(Editor()->isVisible());
        EXPECT_EQ(Editor()->parentWidget(), grid->viewport());
        EXPECT_EQ(Editor()->geometry(), grid->CellRect(cell.row, cell.col));
        EXPECT_EQ(Editor()->alignment(), cell.alignment);
        EXPECT_EQ(Editor()->text(), grid->TextMatrix(cell.row, cell.col));
        EXPECT_EQ(Editor()->cursorPosition(), Editor()->text().size());
        EXPECT_EQ(Editor()->grab().toImage().pixelColor(1, 1), QColor(255, 255, 128));
        QTest::keyClick(Editor(), Qt::Key_Escape);
    }
}

TEST_F(MachineDialog, KeepsFieldsWithoutValueWhenLeftEmpty)
{
    Open();
    ASSERT_FALSE(Table().Row(40).before.has_value());
    Grid()->SetCurrent(40, 2);
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Return);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_FALSE(Table().Row(40).before.has_value());
    // Emptying a field that held text leaves empty text.
    Grid()->SetCurrent(6, 2);
    QTest::keyClick(Grid(), Qt::Key_Return);
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(Table().Row(6).before, QString());
}

TEST_F(MachineDialog, SavesTheTableUnderTheCurrentName)
{
    Open();
    Grid()->SetCurrent(24, 2);
    Grid()->setFocus();
    TypeIntoGrid(QStringLiteral("M68"));
    // Save while the editor is still open: what the cell shows is what is saved.
    QTest::mouseClick(Control<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_TRUE(m_services.messages.empty());
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(Grid()->TextMatrix(24, 2), QStringLiteral("M68"));
    ConversionTable saved;
    ASSERT_TRUE(ReadTableFile(m_folder.filePath(DefaultTableFileName()), saved).ok);
    EXPECT_EQ(saved, Table());
    EXPECT_EQ(saved.Row(24).before, QStringLiteral("M68"));
}

TEST_F(MachineDialog, ReportsASaveThatFailsAndKeepsTheTable)
{
    Open();
    Grid()->SetCurrent(30, 2);
    Grid()->setFocus();
    TypeIntoGrid(QStringLiteral("say \"x\""));
    QTest::keyClick(Editor(), Qt::Key_Return);
    const ConversionTable edited = Table();
    QTest::mouseClick(Control<QPushButton>("Command2"), Qt::LeftButton);
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_EQ(m_services.messages[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(m_services.messages[0].text.contains(QStringLiteral("30")))
        << m_services.messages[0].text.toStdString();
    EXPECT_EQ(Table(), edited);

    m_services.messages.clear();
    Table().Row(30).before = QStringLiteral("M35");
    m_host.state.MachinePath = m_folder.filePath(QStringLiteral("gone"));
    QTest::mouseClick(Control<QPushButton>("Command2"), Qt::LeftButton);
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_TRUE(m_services.messages[0].text.contains(m_host.state.MachinePath));
    EXPECT_EQ(Table().Row(30).before, QStringLiteral("M35"));

    // With no file name there is nothing to save to.
    m_services.messages.clear();
    m_host.state.MachineFileName.clear();
    QTest::mouseClick(Control<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_TRUE(m_services.messages.empty());
}

TEST_F(MachineDialog, ChoosesAndReadsAnotherTableFile)
{
    const QString other = m_folder.filePath(QStringLiteral("sub/lathe b.csv"));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("sub")));
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("h,,\r\nh,,\r\n\"B\",\"FANUC 2\",\"OSP 2\"\r\n");
    file.close();
    Open();
    m_services.answer = other;
    QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(m_services.askedFolder, m_folder.path());
    EXPECT_EQ(m_services.askedFilter, QStringLiteral("CSV Files(*.csv) (*.csv);;All Files(*.*) (*)"));
    EXPECT_EQ(m_host.state.MachinePath, m_folder.filePath(QStringLiteral("sub")));
    EXPECT_EQ(m_host.state.MachineFileName, QStringLiteral("lathe b.csv"));
    EXPECT_EQ(Control<QLineEdit>("MachineFile")->text(), QStringLiteral("LATHE B.CSV"));
    EXPECT_EQ(Table().Row(1).before, QStringLiteral("FANUC 2"));
    EXPECT_EQ(Grid()->TextMatrix(1, 3), QStringLiteral("OSP 2"));
    // Rows the new file does not reach still hold the first file's values, and the grid shows them.
    EXPECT_EQ(Grid()->TextMatrix(2, 2), QStringLiteral("FANUC"));
}

TEST_F(MachineDialog, CancellingTheFileDialogReloadsTheCurrentFile)
{
    Open();
    Grid()->SetCurrent(10, 3);
    Grid()->setFocus();
    TypeIntoGrid(QStringLiteral("M13"));
    QTest::keyClick(Editor(), Qt::Key_Return);
    ASSERT_EQ(Table().Row(10).after, QStringLiteral("M13"));
    Grid()->SetCurrent(11, 3);
    TypeIntoGrid(QStringLiteral("M14"));
    m_services.answer.clear();
    QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(Table().Row(10).after, QStringLiteral("M03"));
    EXPECT_EQ(Grid()->TextMatrix(10, 3), QStringLiteral("M03"));
    EXPECT_EQ(Grid()->TextMatrix(11, 3), QStringLiteral("M04"));
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(m_host.state.MachineFileName, DefaultTableFileName());
}

} // namespace

int main(int argc, char **argv)
{
    // The dialog tests need no screen; a screenshot run sets its own platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
