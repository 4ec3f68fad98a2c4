#include "app/window/frmMain.h"
#include "AppFakes.h"
#include "app/pane/TextPane.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString OpenFilter =
    QStringLiteral("NC File (*.MIN;*.SSB;*.NC;*.NCD;*.NCA)|*.MIN;*.SSB;*.NC;*.NCD;*.NCA|All Files (*.*)|*.*");
const QString SaveAsFilter =
    QStringLiteral("OSP File (*.MIN)|*.MIN|FANUC File (*.NC)|*.NC|CAD File (*.NCA)|*.NCA|"
                   "System Sub (*.ssb)|*.SSB|All Files (*.*)|*.*");
const QByteArray ProgramBytes("%\r\nO1000(\x83\x65\x83\x58\x83\x67)\r\nG00 X1.\r\nM30\r\n%\r\n");
const QString ProgramText = QStringLiteral("%\r\nO1000(テスト)\r\nG00 X1.\r\nM30\r\n%\r\n");
const QString Heading = QStringLiteral("変換後");
const QString Notice = QStringLiteral("確認後[OK]を押すと左側へ反映します。");

class frmMainTest : public ::testing::Test
{
protected:
    void Start(const QStringList &arguments = {})
    {
        m_window =
            std::make_unique<frmMain>(MainWindowServices{m_prompter, m_locks, SettingsFile(), AppFolder()});
        m_window->Form_Load(arguments);
    }

    QString SettingsFile() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    QString AppFolder() const { return m_dir.filePath(QStringLiteral("app")); }
    QString PathOf(const QString &name) const { return m_dir.filePath(name); }

    QString Stored(const char *key) const
    {
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        return settings.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
    }

    QString WriteProgram(const QString &name, const QByteArray &bytes = ProgramBytes) const
    {
        QFile file(PathOf(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return PathOf(name);
    }

    static QByteArray BytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    TwipsScale Scale() const { return {double(m_window->logicalDpiX()), double(m_window->logicalDpiY())}; }

    bool ResultIsIdle() const
    {
        return m_window->Label2->text() == Heading &&
               m_window->Label2->palette().color(QPalette::WindowText) == QColor(0, 0, 0) &&
               !m_window->Command1->isEnabled() && !m_window->Command2->isEnabled();
    }

    bool ResultIsPending() const
    {
        return m_window->Label2->text() == Notice &&
               m_window->Label2->palette().color(QPalette::WindowText) == QColor(255, 0, 0) &&
               m_window->Command1->isEnabled() && m_window->Command2->isEnabled();
    }

    QTemporaryDir m_dir;
    FakePrompter m_prompter;
    FakeKeyboardLocks m_locks;
    std::unique_ptr<frmMain> m_window;
};

struct Entry
{
    const char *name;
    const char *caption; // "-" for a separator
    QKeySequence shortcut;
};

struct Menu
{
    const char *name;
    const char *caption;
    std::vector<Entry> entries;
};

TEST_F(frmMainTest, HasEveryMenuEntryWithItsCaptionAndShortcut)
{
    Start();
    const Menu menus[] = {
        {"mnuFile",
         "ファイル(&F)",
         {{"mnuFileNew", "新規(&N)", QKeySequence(Qt::CTRL | Qt::Key_N)},
          {"mnuFileOpen", "開く(&O)...", QKeySequence(Qt::CTRL | Qt::Key_O)},
          {"mnuFileBar0", "-", {}},
          {"mnuFileSave", "上書き保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S)},
          {"mnuFileSaveAs", "名前を付けて保存(&A)...", {}},
          {"mnuFileBar1", "-", {}},
          {"mnuFileExit", "終了(&X)", {}}}},
        {"mnuEdit",
         "編集(&E)",
         {{"mnuEditUndo", "元に戻す(&U)", {}},
          {"mnuEditBar0", "-", {}},
          {"mnuEditCut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X)},
          {"mnuEditCopy", "ｺﾋﾟｰ(&C)", QKeySequence(Qt::CTRL | Qt::Key_C)},
          {"mnuEditPaste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V)},
          {"mnuEditAllSelect", "すべて選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A)},
          {"mnuEditBar1", "-", {}},
          {"mnuEditFind", "検索(&F)", QKeySequence(Qt::CTRL | Qt::Key_F)},
          {"mnuEditNextFind", "次を検索", QKeySequence(Qt::Key_F3)},
          {"mnuEditReplace", "置換(&R)", {}},
          {"mnuEditCalReplace", "計算による置換", {}}}},
        {"mnuConvertR",
         "変換(&C)",
         {{"mnuConvertRotation", "回転軸の近回り", {}},
          {"mnuConvertSpaceAdd", "スペースの追加/削除", {}},
          {"mnuConvertPointAdd", "小数点の追加/削除", {}},
          {"mnuConvertXY_XC", "XY-CX座標変換", {}},
          {"mnuConvertG90_G91", "G90-G91 変換", {}},
          {"mnuConvertUnit", "単位の変更", {}},
          {"mnuConvertMachine", "機種間の変換", {}},
          {"mnuAddCR", "改行コードにCR追加", {}}}},
        {"mnuHelp", "ヘルプ(&H)", {{"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", {}}}},
    };
    // The editor's own view menu stands before the help menu; the others are as listed.
    const QList<QAction *> bar = m_window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(bar[3]->menu(), m_window->mnuView);
    EXPECT_EQ(m_window->mnuView->objectName(), QStringLiteral("mnuView"));
    EXPECT_EQ(m_window->mnuView->title(), QStringLiteral("表示(&V)"));
    const int barIndex[] = {0, 1, 2, 4};
    for (int m = 0; m < 4; ++m) {
        const Menu &expected = menus[m];
        auto *menu = m_window->findChild<QMenu *>(QLatin1String(expected.name));
        ASSERT_NE(menu, nullptr) << expected.name;
        EXPECT_EQ(bar[barIndex[m]]->menu(), menu) << expected.name;
        EXPECT_EQ(menu->title(), QString::fromUtf8(expected.caption));
        const QList<QAction *> actions = menu->actions();
        ASSERT_EQ(actions.size(), qsizetype(expected.entries.size())) << expected.name;
        for (std::size_t i = 0; i < expected.entries.size(); ++i) {
            const Entry &entry = expected.entries[i];
            QAction *action = actions[qsizetype(i)];
            EXPECT_EQ(action->objectName(), QLatin1String(entry.name));
            const bool separator = QLatin1String(entry.caption) == QLatin1String("-");
            EXPECT_EQ(action->isSeparator(), separator) << entry.name;
            if (!separator) {
                EXPECT_EQ(action->text(), QString::fromUtf8(entry.caption)) << entry.name;
            }
            EXPECT_EQ(action->shortcut(), entry.shortcut) << entry.name;
        }
    }
}

TEST_F(frmMainTest, HasItsControlsFontsAndCaption)
{
    Start();
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Brindlewick Ver.2.27"));
    EXPECT_EQ(m_window->findChild<TextPane *>(QStringLiteral("RichTextBox1")), m_window->RichTextBox1);
    EXPECT_EQ(m_window->findChild<TextPane *>(QStringLiteral("RichTextBox2")), m_window->RichTextBox2);
    EXPECT_EQ(m_window->findChild<QLabel *>(QStringLiteral("Label1")), m_window->Label1);
    EXPECT_EQ(m_window->findChild<QLabel *>(QStringLiteral("Label2")), m_window->Label2);
    for (const char *name : {"Line1", "Line2", "tbToolBar"})
        EXPECT_NE(m_window->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    auto *ok = m_window->findChild<QPushButton *>(QStringLiteral("Command1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("O K"));
    EXPECT_EQ(ok->toolTip(), QStringLiteral("変換後のデータを元データと置き換えます。"));
    auto *cancel = m_window->findChild<QPushButton *>(QStringLiteral("Command2"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));

    const struct
    {
        QWidget *widget;
        const char *family;
        qreal points;
    } fonts[] = {{m_window->RichTextBox1, "ＭＳ ゴシック", 12},
                 {m_window->RichTextBox2, "ＭＳ ゴシック", 12},
                 {m_window->Label1, "ＭＳ ゴシック", 12},
                 {m_window->Label2, "ＭＳ Ｐゴシック", 11.25}};
    for (const auto &f : fonts) {
        EXPECT_EQ(f.widget->font().family(), QString::fromUtf8(f.family))
            << f.widget->objectName().toStdString();
        EXPECT_EQ(f.widget->font().pointSizeF(), f.points);
        // Whatever face stands in, it has the Japanese characters.
        const QFontMetrics metrics(f.widget->font());
        for (const QChar c : QStringLiteral("変換後ｷｬﾝｾﾙテスト"))
            EXPECT_TRUE(metrics.inFont(c)) << f.widget->objectName().toStdString();
    }
}

TEST_F(frmMainTest, FirstStartUsesTheDefaults)
{
    Start();
    const TwipsScale scale = Scale();
    const QRect outer = m_window->frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint(scale.ToPixelsX(1000), scale.ToPixelsY(1000)));
    EXPECT_EQ(outer.size(), QSize(scale.ToPixelsX(12000), scale.ToPixelsY(10000)));
    EXPECT_EQ(m_window->OpenPath(), AppFolder());
    EXPECT_EQ(m_window->State().MachinePath, AppFolder());
    EXPECT_EQ(m_window->State().MachineFileName, QStringLiteral("オークマ 旋盤 FANUC-OSP.csv"));
    EXPECT_TRUE(m_window->Label1->text().isEmpty());
    EXPECT_TRUE(ResultIsIdle());
    EXPECT_FALSE(m_window->mnuEditUndo->isEnabled());
    EXPECT_TRUE(m_window->DocumentPath().isEmpty());
    EXPECT_FALSE(m_window->DocumentModified());
    EXPECT_EQ(m_locks.presses, std::vector<int>{KeyboardLocks::CapsLockKey});
    EXPECT_TRUE(m_locks.capsLock);
}

TEST_F(frmMainTest, CapsLockAlreadyOnIsLeftAlone)
{
    m_locks.capsLock = true;
    Start();
    EXPECT_TRUE(m_locks.presses.empty());
}

TEST_F(frmMainTest, ResetsTheG90G91Choices)
{
    Start();
    AppState &state = m_window->State();
    state.G90G91 = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), true, true, false};
    m_window->Form_Load({});
    EXPECT_TRUE(state.G90G91.StartXText.isEmpty());
    EXPECT_TRUE(state.G90G91.StartZText.isEmpty());
    EXPECT_FALSE(state.G90G91.StartCommentOn);
    EXPECT_FALSE(state.G90G91.EndCommentOn);
    EXPECT_TRUE(state.G90G91.ToIncremental);
}

TEST_F(frmMainTest, LaysTheControlsOutInTwips)
{
    Start();
    m_window->show();
    const TwipsScale scale = Scale();
    const float width = scale.ToTwipsX(m_window->frameGeometry().width());
    const struct
    {
        QWidget *widget;
        float left, top, width;
    } placed[] = {{m_window->RichTextBox1, 40, 970, width / 2 - 200},
                  {m_window->RichTextBox2, width / 2 - 100, 970, width / 2 - 200},
                  {m_window->Command1, width - 2650, 550, 1100},
                  {m_window->Command2, width - 1450, 550, 1100},
                  {m_window->Label1, 80, 650, width / 2 - 210},
                  {m_window->Label2, width / 2 - 100, 650, 5000}};
    for (const auto &p : placed) {
        const QRect geometry = p.widget->geometry();
        EXPECT_EQ(geometry.left(), scale.ToPixelsX(p.left)) << p.widget->objectName().toStdString();
        EXPECT_EQ(geometry.top(), scale.ToPixelsY(p.top)) << p.widget->objectName().toStdString();
        EXPECT_EQ(geometry.width(), scale.ToPixelsX(p.width)) << p.widget->objectName().toStdString();
    }
    EXPECT_EQ(m_window->Line1->y(), scale.ToPixelsY(510));
    EXPECT_EQ(m_window->Line2->y(), scale.ToPixelsY(520));
    EXPECT_LE(m_window->RichTextBox1->geometry().bottom(), m_window->centralWidget()->height());
}

TEST_F(frmMainTest, ATinyWindowDoesNotFail)
{
    Start();
    m_window->show();
    for (const QSize size : {QSize(1, 1), QSize(20, 300), QSize(300, 20), QSize(2000, 1)}) {
        m_window->resize(size);
        m_window->Form_Resize();
        for (QWidget *pane : {static_cast<QWidget *>(m_window->RichTextBox1),
                              static_cast<QWidget *>(m_window->RichTextBox2)}) {
            EXPECT_GE(pane->width(), 0);
            EXPECT_GE(pane->height(), 0);
        }
    }
    m_window->RichTextBox1->SetText(ProgramText);
    EXPECT_EQ(m_window->RichTextBox1->Text(), ProgramText);
}

TEST_F(frmMainTest, CloseWritesTheSettingsAndSwitchesCapsLockOff)
{
    Start();
    const TwipsScale scale = Scale();
    m_window->move(scale.ToPixelsX(1500), scale.ToPixelsY(750));
    m_window->resize(scale.ToPixelsX(9000), scale.ToPixelsY(6000));
    m_window->State().MachineFileName = QStringLiteral("table.csv");
    EXPECT_TRUE(m_window->close());
    EXPECT_EQ(Stored("MainLeft"), QStringLiteral("1500"));
    EXPECT_EQ(Stored("MainTop"), QStringLiteral("750"));
    EXPECT_EQ(Stored("MainWidth"), QStringLiteral("9000"));
    EXPECT_EQ(Stored("MainHeight"), QStringLiteral("6000"));
    EXPECT_EQ(Stored("OpenPathName"), AppFolder());
    EXPECT_EQ(Stored("MachinePath"), AppFolder());
    EXPECT_EQ(Stored("MachineFileName"), QStringLiteral("table.csv"));
    EXPECT_FALSE(m_locks.capsLock);
    EXPECT_EQ(m_locks.presses, (std::vector<int>{KeyboardLocks::CapsLockKey, KeyboardLocks::CapsLockKey}));

    // The next start puts the window back where it was.
    Start();
    EXPECT_EQ(m_window->frameGeometry(), QRect(scale.ToPixelsX(1500), scale.ToPixelsY(750),
                                               scale.ToPixelsX(9000), scale.ToPixelsY(6000)));
}

TEST_F(frmMainTest, ClosingMinimisedKeepsTheStoredPlacement)
{
    {
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("2000"));
        settings.setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("8000"));
    }
    Start();
    m_window->move(0, 0);
    m_window->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(m_window->close());
    EXPECT_EQ(Stored("MainLeft"), QStringLiteral("2000"));
    EXPECT_EQ(Stored("MainWidth"), QStringLiteral("8000"));
    EXPECT_EQ(Stored("MainTop"), QString());
    EXPECT_EQ(Stored("OpenPathName"), AppFolder());
}

TEST_F(frmMainTest, ClosingWithUnsavedChangesAsks)
{
    Start();
    EXPECT_TRUE(m_window->close());
    EXPECT_TRUE(m_prompter.questions.empty());

    Start();
    m_window->RichTextBox1->SetText(QStringLiteral("G01"));
    QFile::remove(SettingsFile());
    m_prompter.answers = {false, true};
    EXPECT_FALSE(m_window->close());
    ASSERT_EQ(m_prompter.questions.size(), 1u);
    EXPECT_EQ(m_prompter.questions[0].title, QStringLiteral("Brindlewick"));
    EXPECT_EQ(m_prompter.questions[0].text, QStringLiteral("データが変更されていますが終了しますか ?"));
    EXPECT_FALSE(QFile::exists(SettingsFile()));
    EXPECT_EQ(m_window->RichTextBox1->Text(), QStringLiteral("G01"));

    m_window->mnuFileExit_Click();
    EXPECT_EQ(m_prompter.questions.size(), 2u);
    EXPECT_TRUE(QFile::exists(SettingsFile()));
}

TEST_F(frmMainTest, CommandLineOpensTheFile)
{
    const QString path = WriteProgram(QStringLiteral("with blank.nc"));
    for (const QString &argument : {path, QLatin1Char('"') + path + QStringLiteral("\" /extra")}) {
        Start({argument});
        EXPECT_EQ(m_window->RichTextBox1->Text(), ProgramText);
        EXPECT_EQ(m_window->Label1->text(), path);
        EXPECT_EQ(m_window->DocumentPath(), path);
        // Loading counts as a change.
        EXPECT_TRUE(m_window->DocumentModified());
        EXPECT_FALSE(m_window->mnuEditUndo->isEnabled());
    }
    m_prompter.answers = {false};
    m_window->mnuFileNew_Click();
    ASSERT_EQ(m_prompter.questions.size(), 1u);
    EXPECT_EQ(m_prompter.questions[0].text, QStringLiteral("データが変更されていますが新規にしますか ?"));
    EXPECT_EQ(m_window->RichTextBox1->Text(), ProgramText);
}

TEST_F(frmMainTest, CommandLineWithAMissingFileStartsEmpty)
{
    const QString path = PathOf(QStringLiteral("missing.nc"));
    Start({path});
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_EQ(m_prompter.messages[0].title, QStringLiteral("Brindlewick"));
    EXPECT_TRUE(m_prompter.messages[0].text.contains(path));
    EXPECT_TRUE(m_prompter.messages[0].text.contains(QStringLiteral("ファイルが見つかりません。")));
    EXPECT_TRUE(m_window->DocumentPath().isEmpty());
    EXPECT_TRUE(m_window->Label1->text().isEmpty());
    EXPECT_TRUE(m_window->RichTextBox1->Text().isEmpty());
    EXPECT_FALSE(m_window->DocumentModified());
    EXPECT_TRUE(m_locks.capsLock);
}

TEST_F(frmMainTest, NewAsksOnlyAboutChanges)
{
    Start();
    m_window->Label1->setText(QStringLiteral("A.NC"));
    m_window->mnuFileNew_Click();
    EXPECT_TRUE(m_prompter.questions.empty());
    EXPECT_FALSE(m_window->DocumentModified());

    m_window->RichTextBox1->SetText(QStringLiteral("G01"));
    m_window->Label1->setText(QStringLiteral("A.NC"));
    m_prompter.answers = {false};
    m_window->mnuFileNew_Click();
    EXPECT_EQ(m_prompter.questions.size(), 1u);
    EXPECT_EQ(m_window->RichTextBox1->Text(), QStringLiteral("G01"));
    EXPECT_EQ(m_window->Label1->text(), QStringLiteral("A.NC"));
    EXPECT_TRUE(m_window->DocumentModified());

    m_prompter.answers = {true};
    m_window->mnuFileNew_Click();
    EXPECT_TRUE(m_window->RichTextBox1->Text().isEmpty());
    EXPECT_TRUE(m_window->Label1->text().isEmpty());
    EXPECT_TRUE(m_window->DocumentPath().isEmpty());
    EXPECT_FALSE(m_window->DocumentModified());
    // Emptying the pane was a change: Undo is available.
    EXPECT_TRUE(m_window->mnuEditUndo->isEnabled());
}

TEST_F(frmMainTest, OpenLoadsTheChosenFile)
{
    Start();
    const QString path = WriteProgram(QStringLiteral("prog.nc"));
    m_window->RichTextBox2->SetText(QStringLiteral("pending"));
    m_window->ShowConversionResult();
    m_prompter.openChoices = {{path, m_dir.path()}};
    m_window->mnuFileOpen_Click();
    EXPECT_TRUE(m_prompter.questions.empty());
    EXPECT_EQ(m_prompter.openStarts, QStringList{AppFolder()});
    EXPECT_EQ(m_prompter.openFilters, QStringList{QtNameFilters(OpenFilter)});
    EXPECT_EQ(m_window->RichTextBox1->Text(), ProgramText);
    EXPECT_EQ(m_window->Label1->text(), QStringLiteral("prog.nc"));
    EXPECT_EQ(m_window->DocumentPath(), path);
    EXPECT_EQ(m_window->OpenPath(), m_dir.path());
    EXPECT_FALSE(m_window->DocumentModified());
    EXPECT_FALSE(m_window->mnuEditUndo->isEnabled());
    EXPECT_TRUE(ResultIsIdle());
    EXPECT_TRUE(m_window->RichTextBox2->Text().isEmpty());
}

TEST_F(frmMainTest, CancelledOpenStillDiscardsThePendingResult)
{
    Start();
    m_window->RichTextBox1->SetText(QStringLiteral("source"));
    m_prompter.answers = {false};
    m_window->RichTextBox2->SetText(QStringLiteral("pending"));
    m_window->ShowConversionResult();
    m_window->mnuFileOpen_Click();
    EXPECT_TRUE(m_prompter.openStarts.isEmpty());
    EXPECT_TRUE(ResultIsPending());

    m_prompter.answers = {true};
    m_prompter.openChoices = {{QString(), PathOf(QStringLiteral("elsewhere"))}};
    m_window->mnuFileOpen_Click();
    EXPECT_TRUE(ResultIsIdle());
    EXPECT_TRUE(m_window->RichTextBox2->Text().isEmpty());
    EXPECT_EQ(m_window->RichTextBox1->Text(), QStringLiteral("source"));
    EXPECT_TRUE(m_window->DocumentModified());
    EXPECT_EQ(m_window->OpenPath(), PathOf(QStringLiteral("elsewhere")));
}

TEST_F(frmMainTest, AFileThatCannotBeOpenedChangesNothing)
{
    Start();
    const QString path = WriteProgram(QStringLiteral("kept.nc"));
    m_prompter.openChoices = {{path, m_dir.path()},
                              {PathOf(QStringLiteral("gone.nc")), m_dir.path()},
                              {m_dir.path(), m_dir.path()}};
    m_window->mnuFileOpen_Click();
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_window->mnuFileOpen_Click();
        EXPECT_EQ(m_window->RichTextBox1->Text(), ProgramText);
        EXPECT_EQ(m_window->DocumentPath(), path);
        EXPECT_EQ(m_window->Label1->text(), QStringLiteral("kept.nc"));
        EXPECT_FALSE(m_window->DocumentModified());
    }
    ASSERT_EQ(m_prompter.messages.size(), 2u);
    EXPECT_EQ(m_prompter.messages[0].icon, Prompter::Icon::Critical);
    EXPECT_TRUE(m_prompter.messages[0].text.contains(QStringLiteral("gone.nc")));
    EXPECT_TRUE(m_prompter.messages[1].text.contains(QStringLiteral("フォルダーです")));
}

TEST_F(frmMainTest, OpenWarnsOfBytesThatAreNoCharacter)
{
    Start();
    m_prompter.openChoices = {
        {WriteProgram(QStringLiteral("bad.nc"), QByteArray("G01\x81\x7F\r\n")), m_dir.path()}};
    m_window->mnuFileOpen_Click();
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_EQ(m_prompter.messages[0].icon, Prompter::Icon::Warning);
    EXPECT_TRUE(m_prompter.messages[0].text.contains(QStringLiteral("bad.nc")));
    EXPECT_EQ(m_window->Label1->text(), QStringLiteral("bad.nc"));
    // Saved unchanged, the file keeps its bytes.
    m_window->mnuFileSave_Click();
    EXPECT_EQ(BytesOf(PathOf(QStringLiteral("bad.nc"))), QByteArray("G01\x81\x7F\r\n"));
}

TEST_F(frmMainTest, SaveWritesToTheFullPathOfTheOpenedFile)
{
    Start();
    QDir(m_dir.path()).mkdir(QStringLiteral("other"));
    const QString path = WriteProgram(QStringLiteral("prog.nc"));
    m_prompter.openChoices = {{path, m_dir.path()}};
    m_window->mnuFileOpen_Click();
    m_window->RichTextBox1->SetSelStart(0);
    m_window->RichTextBox1->SetSelText(QStringLiteral("(\u65b0)\r\n"));
    EXPECT_TRUE(m_window->DocumentModified());

    const QString previous = QDir::currentPath();
    QDir::setCurrent(PathOf(QStringLiteral("other")));
    m_window->mnuFileSave_Click();
    QDir::setCurrent(previous);
    EXPECT_EQ(BytesOf(path), QByteArray("(\x90\x56)\r\n") + ProgramBytes);
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("other/prog.nc"))));
    EXPECT_FALSE(m_window->DocumentModified());
    EXPECT_TRUE(m_prompter.saveStarts.isEmpty());
}

TEST_F(frmMainTest, SaveAsWritesThePathAsChosen)
{
    Start();
    m_window->RichTextBox1->SetText(ProgramText);
    const QString chosen = PathOf(QStringLiteral("Prog.Nc"));
    m_prompter.saveChoices = {{chosen, m_dir.path()}};
    m_window->mnuFileSave_Click();
    EXPECT_EQ(m_prompter.saveStarts, QStringList{AppFolder()});
    EXPECT_EQ(m_prompter.saveFilters, QStringList{QtNameFilters(SaveAsFilter)});
    EXPECT_EQ(BytesOf(chosen), ProgramBytes);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Prog.Nc")});
    EXPECT_EQ(m_window->DocumentPath(), chosen);
    EXPECT_EQ(m_window->Label1->text(), QStringLiteral("PROG.NC"));
    EXPECT_EQ(m_window->OpenPath(), m_dir.path());
    // Only Save clears the modified flag.
    EXPECT_TRUE(m_window->DocumentModified());
    m_prompter.answers = {false};
    m_window->mnuFileNew_Click();
    ASSERT_EQ(m_prompter.questions.size(), 1u);
    EXPECT_EQ(m_prompter.questions[0].text, QStringLiteral("データが変更されていますが新規にしますか ?"));
}

TEST_F(frmMainTest, CancelledSaveAsForgetsTheName)
{
    Start();
    m_window->RichTextBox1->SetText(ProgramText);
    m_prompter.saveChoices = {{PathOf(QStringLiteral("a.min")), m_dir.path()}, {QString(), m_dir.path()}};
    m_window->mnuFileSaveAs_Click();
    m_window->mnuFileSaveAs_Click();
    EXPECT_TRUE(m_window->DocumentPath().isEmpty());
    EXPECT_EQ(m_window->Label1->text(), QStringLiteral("A.MIN"));
    m_window->mnuFileSave_Click();
    EXPECT_EQ(m_prompter.saveStarts.size(), 3);
}

TEST_F(frmMainTest, AFailedSaveClaimsNothing)
{
    Start();
    const QString path = WriteProgram(QStringLiteral("prog.nc"));
    m_prompter.openChoices = {{path, m_dir.path()}};
    m_window->mnuFileOpen_Click();
    m_window->RichTextBox1->SetText(QStringLiteral("G01\r\n(caf\u00e9)\r\n"));
    m_window->mnuFileSave_Click();
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_TRUE(m_prompter.messages[0].text.contains(QStringLiteral("2 行目の文字 \"\u00e9\"")));
    EXPECT_EQ(BytesOf(path), ProgramBytes);
    EXPECT_TRUE(m_window->DocumentModified());

    m_prompter.saveChoices = {{PathOf(QStringLiteral("missing/x.nc")), m_dir.path()}};
    m_window->RichTextBox1->SetText(QStringLiteral("G01"));
    m_window->mnuFileSaveAs_Click();
    ASSERT_EQ(m_prompter.messages.size(), 2u);
    EXPECT_TRUE(m_prompter.messages[1].text.contains(QStringLiteral("missing/x.nc")));
    EXPECT_EQ(m_window->DocumentPath(), path);
    EXPECT_EQ(m_window->Label1->text(), QStringLiteral("prog.nc"));
    EXPECT_TRUE(m_window->DocumentModified());
}

TEST_F(frmMainTest, ResultPaneStates)
{
    Start();
    EXPECT_TRUE(ResultIsIdle());
    m_prompter.openChoices = {{WriteProgram(QStringLiteral("p.nc")), m_dir.path()}};
    m_window->mnuFileOpen_Click();
    ASSERT_FALSE(m_window->DocumentModified());

    // A conversion finishes: the source is untouched.
    m_window->SetResultText(QStringLiteral("G91 X1."));
    m_window->ShowConversionResult();
    EXPECT_TRUE(ResultIsPending());
    EXPECT_EQ(m_window->RichTextBox1->Text(), ProgramText);
    EXPECT_FALSE(m_window->DocumentModified());

    // Cancel leaves the source, the modified flag and Undo alone.
    m_window->Command2_Click();
    EXPECT_TRUE(ResultIsIdle());
    EXPECT_TRUE(m_window->RichTextBox2->Text().isEmpty());
    EXPECT_EQ(m_window->RichTextBox1->Text(), ProgramText);
    EXPECT_FALSE(m_window->DocumentModified());
    EXPECT_FALSE(m_window->mnuEditUndo->isEnabled());

    // Another conversion while one is pending replaces the result.
    m_window->SetResultText(QStringLiteral("first"));
    m_window->ShowConversionResult();
    m_window->SetResultText(QStringLiteral("G91 X1."));
    m_window->ShowConversionResult();
    EXPECT_TRUE(ResultIsPending());

    // The user edits the result (no change of the document), then OK takes it as it stands.
    m_window->RichTextBox2->SetSelStart(7);
    m_window->RichTextBox2->SetSelText(QStringLiteral("\r\nM30"));
    EXPECT_FALSE(m_window->DocumentModified());
    m_window->Command1_Click();
    EXPECT_EQ(m_window->RichTextBox1->Text(), QStringLiteral("G91 X1.\r\nM30"));
    EXPECT_TRUE(m_window->RichTextBox2->Text().isEmpty());
    EXPECT_TRUE(ResultIsIdle());
    EXPECT_TRUE(m_window->DocumentModified());
    EXPECT_TRUE(m_window->mnuEditUndo->isEnabled());
}

TEST_F(frmMainTest, EditsOfTheResultPaneAreNoDocumentChange)
{
    Start();
    QTest::keyClicks(m_window->RichTextBox2, QStringLiteral("X"));
    EXPECT_FALSE(m_window->DocumentModified());
    EXPECT_FALSE(m_window->mnuEditUndo->isEnabled());
    QTest::keyClicks(m_window->RichTextBox1, QStringLiteral("X"));
    EXPECT_TRUE(m_window->DocumentModified());
    EXPECT_TRUE(m_window->mnuEditUndo->isEnabled());
}

} // namespace
