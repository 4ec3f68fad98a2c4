#include "app/window/frmMain.h"

#include "app/window/MainWindowTexts.h"

#include "app/edit/EditCommands.h"
#include "app/edit/EditIcons.h"
#include "app/edit/SourcePaneInput.h"
#include "app/edit/SystemClipboard.h"
#include "app/review/PaneColouring.h"
#include "app/review/ResultCompare.h"
#include "app/pane/AppFonts.h"
#include "app/pane/TextPane.h"
#include "app/search/SearchCommands.h"
#include "app/search/TextPaneTarget.h"
#include "app/window/CommandLine.h"
#include "app/window/HeadingLayout.h"
#include "app/window/KeyboardLocks.h"
#include "app/window/MainStatusBar.h"
#include "app/window/MainToolBar.h"
#include "app/window/WindowPlacement.h"
#include "recovery/RecoveryStore.h"
#include "recovery/RecoveryWriter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <algorithm>

namespace {

const QString Caption = QStringLiteral("Brindlewick Ver.2.27");

void Place(QWidget *widget, const TwipsRect &rect, const TwipsScale &scale)
{
    widget->setGeometry(scale.ToPixelsX(rect.left), scale.ToPixelsY(rect.top), scale.ToPixelsX(rect.width),
                        scale.ToPixelsY(rect.height));
}

QFrame *NewRule(QWidget *parent, const char *name, QPalette::ColorRole colour)
{
    auto *rule = new QFrame(parent);
    rule->setObjectName(QLatin1String(name));
    rule->setFrameShape(QFrame::NoFrame);
    rule->setAutoFillBackground(true);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::Window, palette.color(colour));
    rule->setPalette(palette);
    return rule;
}

QLabel *NewLabel(QWidget *parent, const char *name, const QFont &font)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmMain::frmMain(const MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent), m_prompter(services.prompter), m_keyboardLocks(services.keyboardLocks),
      m_applicationFolder(services.applicationFolder), m_settings(services.settingsFile),
      m_recoveryFolder(services.recoveryFolder)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Caption);
    setWindowIcon(app::EditIcon(QStringLiteral("brindlewick")));
    CreateMenus();
    CreateControls();
    CreateColouring();
    CreateSearchCommands();
    CreateComparison();
    CreateStatusBar();
    CreateEditCommands(services.clipboard);
}

frmMain::~frmMain() = default;

// ---- building the window ----

QAction *frmMain::AddEntry(QMenu *menu, const char *name, const QString &caption,
                           const QKeySequence &shortcut, void (frmMain::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void frmMain::AddSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

void frmMain::CreateMenus()
{
    CreateFileMenu();
    CreateEditMenu();
    CreateConvertMenu();
    CreateViewMenu();
    CreateHelpMenu();
}

void frmMain::CreateFileMenu()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNew = AddEntry(mnuFile, "mnuFileNew", QStringLiteral("新規(&N)"),
                          QKeySequence(Qt::CTRL | Qt::Key_N), &frmMain::mnuFileNew_Click);
    mnuFileOpen = AddEntry(mnuFile, "mnuFileOpen", QStringLiteral("開く(&O)..."),
                           QKeySequence(Qt::CTRL | Qt::Key_O), &frmMain::mnuFileOpen_Click);
    AddSeparator(mnuFile, "mnuFileBar0");
    mnuFileSave = AddEntry(mnuFile, "mnuFileSave", QStringLiteral("上書き保存(&S)"),
                           QKeySequence(Qt::CTRL | Qt::Key_S), &frmMain::mnuFileSave_Click);
    mnuFileSaveAs = AddEntry(mnuFile, "mnuFileSaveAs", QStringLiteral("名前を付けて保存(&A)..."), {},
                             &frmMain::mnuFileSaveAs_Click);
    AddSeparator(mnuFile, "mnuFileBar1");
    mnuFileExit =
        AddEntry(mnuFile, "mnuFileExit", QStringLiteral("終了(&X)"), {}, &frmMain::mnuFileExit_Click);
}

void frmMain::CreateEditMenu()
{
    mnuEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditUndo =
        AddEntry(mnuEdit, "mnuEditUndo", QStringLiteral("元に戻す(&U)"), {}, &frmMain::mnuEditUndo_Click);
    AddSeparator(mnuEdit, "mnuEditBar0");
    mnuEditCut = AddEntry(mnuEdit, "mnuEditCut", QStringLiteral("切り取り(&T)"),
                          QKeySequence(Qt::CTRL | Qt::Key_X), &frmMain::mnuEditCut_Click);
    mnuEditCopy = AddEntry(mnuEdit, "mnuEditCopy", QStringLiteral("ｺﾋﾟｰ(&C)"),
                           QKeySequence(Qt::CTRL | Qt::Key_C), &frmMain::mnuEditCopy_Click);
    mnuEditPaste = AddEntry(mnuEdit, "mnuEditPaste", QStringLiteral("貼り付け(&P)"),
                            QKeySequence(Qt::CTRL | Qt::Key_V), &frmMain::mnuEditPaste_Click);
    mnuEditAllSelect = AddEntry(mnuEdit, "mnuEditAllSelect", QStringLiteral("すべて選択(&A)"),
                                QKeySequence(Qt::CTRL | Qt::Key_A), &frmMain::mnuEditAllSelect_Click);
    AddSeparator(mnuEdit, "mnuEditBar1");
    mnuEditFind = AddEntry(mnuEdit, "mnuEditFind", QStringLiteral("検索(&F)"),
                           QKeySequence(Qt::CTRL | Qt::Key_F), &frmMain::mnuEditFind_Click);
    mnuEditNextFind = AddEntry(mnuEdit, "mnuEditNextFind", QStringLiteral("次を検索"),
                               QKeySequence(Qt::Key_F3), &frmMain::mnuEditNextFind_Click);
    mnuEditReplace =
        AddEntry(mnuEdit, "mnuEditReplace", QStringLiteral("置換(&R)"), {}, &frmMain::mnuEditReplace_Click);
    mnuEditCalReplace = AddEntry(mnuEdit, "mnuEditCalReplace", QStringLiteral("計算による置換"), {},
                                 &frmMain::mnuEditCalReplace_Click);
}

void frmMain::CreateConvertMenu()
{
    mnuConvertR = menuBar()->addMenu(QStringLiteral("変換(&C)"));
    mnuConvertR->setObjectName(QStringLiteral("mnuConvertR"));
    mnuConvertRotation = AddEntry(mnuConvertR, "mnuConvertRotation", QStringLiteral("回転軸の近回り"), {},
                                  &frmMain::mnuConvertRotation_Click);
    mnuConvertSpaceAdd = AddEntry(mnuConvertR, "mnuConvertSpaceAdd", QStringLiteral("スペースの追加/削除"),
                                  {}, &frmMain::mnuConvertSpaceAdd_Click);
    mnuConvertPointAdd = AddEntry(mnuConvertR, "mnuConvertPointAdd", QStringLiteral("小数点の追加/削除"), {},
                                  &frmMain::mnuConvertPointAdd_Click);
    mnuConvertXY_XC = AddEntry(mnuConvertR, "mnuConvertXY_XC", QStringLiteral("XY-CX座標変換"), {},
                               &frmMain::mnuConvertXY_XC_Click);
    mnuConvertG90_G91 = AddEntry(mnuConvertR, "mnuConvertG90_G91", QStringLiteral("G90-G91 変換"), {},
                                 &frmMain::mnuConvertG90_G91_Click);
    mnuConvertUnit = AddEntry(mnuConvertR, "mnuConvertUnit", QStringLiteral("単位の変更"), {},
                              &frmMain::mnuConvertUnit_Click);
    mnuConvertMachine = AddEntry(mnuConvertR, "mnuConvertMachine", QStringLiteral("機種間の変換"), {},
                                 &frmMain::mnuConvertMachine_Click);
    mnuAddCR =
        AddEntry(mnuConvertR, "mnuAddCR", QStringLiteral("改行コードにCR追加"), {}, &frmMain::mnuAddCR_Click);
}

// The commands for looking at a program and a result: they change no text.
void frmMain::CreateViewMenu()
{
    mnuView = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuViewToolPath = mnuView->addAction(QStringLiteral("工具経路(&P)"));
    mnuViewToolPath->setObjectName(QStringLiteral("mnuViewToolPath"));
    mnuViewToolPath->setCheckable(true);
    connect(mnuViewToolPath, &QAction::toggled, this, &frmMain::mnuViewToolPath_Click);
    CreateCompareMenuEntries();
}

void frmMain::CreateHelpMenu()
{
    mnuHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = AddEntry(mnuHelp, "mnuHelpAbout", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), {},
                            &frmMain::mnuHelpAbout_Click);
}

void frmMain::CreateControls()
{
    // The controls are placed by Form_Resize in twips from the top of the area under the menu bar;
    // the toolbar is docked at the top of that area.
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);

    // Its buttons follow the menu entries, which exist by now.
    tbToolBar = new MainToolBar(*this, m_client);
    tbToolBar->setIconSize(QSize(16, 16));

    Line1 = NewRule(m_client, "Line1", QPalette::Dark);
    Line2 = NewRule(m_client, "Line2", QPalette::Light);

    Label1 = NewLabel(m_client, "Label1", GothicFont(12));
    Label2 = NewLabel(m_client, "Label2", PGothicFont(11.25));

    Command1 = new QPushButton(QStringLiteral("O K"), m_client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("変換後のデータを元データと置き換えます。"));
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    Command2 = new QPushButton(QStringLiteral("キャンセル"), m_client);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);

    RichTextBox1 = new TextPane(m_client);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    connect(RichTextBox1, &TextPane::Changed, this, &frmMain::RichTextBox1_Change);
    connect(RichTextBox1, &TextPane::RightButtonDown, this, &frmMain::RichTextBox1_MouseDown);
    RichTextBox2 = new TextPane(m_client);
    RichTextBox2->setObjectName(QStringLiteral("RichTextBox2"));

    // Where the heading fits, Label2 keeps its old place, which reaches under the OK button (its text does
    // not: PlaceHeadingRow sees to that); clicks there still reach the button.
    Label2->raise();
    Label2->setAttribute(Qt::WA_TransparentForMouseEvents);

    setTabOrder(RichTextBox1, RichTextBox2);
    RichTextBox1->setFocus();
}

// Both panes colour their NC words from the start; the view menu turns it off.
void frmMain::CreateColouring()
{
    m_sourceColours = new PaneColouring(*RichTextBox1);
    m_resultColours = new PaneColouring(*RichTextBox2);
    mnuViewColor =
        AddEntry(mnuView, "mnuViewColor", QStringLiteral("色分け表示(&H)"), {}, &frmMain::mnuViewColor_Click);
    mnuViewColor->setCheckable(true);
    mnuViewColor->setChecked(true);
}

void frmMain::CreateStatusBar()
{
    StatusBarSources sources;
    sources.InsertKeyOn = [this] { return RichTextBox1->overwriteMode(); };
    sources.PressKey = [this](int virtualKey) { m_keyboardLocks.PressKey(virtualKey); };
    sbStatusBar = new MainStatusBar(std::move(sources), this);
    setStatusBar(sbStatusBar);
}

void frmMain::CreateEditCommands(Clipboard *clipboard)
{
    if (clipboard == nullptr) {
        m_systemClipboard = std::make_unique<SystemClipboard>();
        clipboard = m_systemClipboard.get();
    }
    m_editCommands = std::make_unique<EditCommands>(*RichTextBox1, m_state.UndoText, *clipboard, *mnuEditUndo,
                                                    *mnuEditPaste);
    new SourcePaneInput(*RichTextBox1, *mnuEdit);
}

// ---- start-up and close ----

void frmMain::Form_Load(const QStringList &arguments)
{
    const StoredSettings stored = m_settings.Read(m_applicationFolder);
    m_placement = stored;
    ApplyPlacement();
    m_placementPending = true;

    m_openPath = stored.OpenPathName;
    m_state.MachinePath = stored.MachinePath;
    m_state.MachineFileName = stored.MachineFileName;

    SetUndoEnabled(false);
    Label1->clear();
    Label2->setText(app::ResultHeading);
    Command1->setEnabled(false);
    Command2->setEnabled(false);

    m_documentPath.clear();
    m_state.G90G91 = G90G91Memory{};

    const QString fileName = FileNameFromCommandLine(arguments);
    if (!fileName.isEmpty()) {
        // Loading counts as a change: the document starts out modified.
        if (LoadIntoSourcePane(fileName)) {
            m_documentPath = QFileInfo(fileName).absoluteFilePath();
            Label1->setText(fileName);
        }
        SetUndoEnabled(false);
    }

    if (!m_keyboardLocks.IsOn(KeyboardLocks::CapsLockKey))
        m_keyboardLocks.PressKey(KeyboardLocks::CapsLockKey);
    WatchDocument();
    StartRecovery(m_recoveryFolder);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!AskToDiscardChanges(QStringLiteral("データが変更されていますが終了しますか ?"))) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    CloseOtherWindows();
    if (!isMinimized()) {
        const TwipsScale scale = Scale();
        const QRect outer = frameGeometry();
        m_settings.WritePlacement(scale.ToTwipsX(outer.left()), scale.ToTwipsY(outer.top()),
                                  scale.ToTwipsX(outer.width()), scale.ToTwipsY(outer.height()));
    }
    m_settings.WritePaths(m_openPath, m_state.MachinePath, m_state.MachineFileName);
    // The user chose to end: saved, or the changes given up.
    DiscardRecoveryCopy();
    if (m_keyboardLocks.IsOn(KeyboardLocks::CapsLockKey))
        m_keyboardLocks.PressKey(KeyboardLocks::CapsLockKey);
}

void frmMain::CloseOtherWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (*it != this && (*it)->isVisible())
            (*it)->close();
    }
}

// ---- placement and layout ----

TwipsScale frmMain::Scale() const
{
    return {double(logicalDpiX()), double(logicalDpiY())};
}

// The stored bounds are the window's outer bounds; Qt sizes the inside, so the frame is taken off once
// the window system has told its size.
void frmMain::ApplyPlacement()
{
    const TwipsScale scale = Scale();
    const QRect inside = geometry();
    const QRect outer = frameGeometry();
    const int frameWidth = outer.width() - inside.width();
    const int frameHeight = outer.height() - inside.height();
    const auto outerPixels = [&scale](const StoredSettings &twips) {
        return QRect(scale.ToPixelsX(twips.MainLeft), scale.ToPixelsY(twips.MainTop),
                     scale.ToPixelsX(twips.MainWidth), scale.ToPixelsY(twips.MainHeight));
    };
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens += screen->availableGeometry();
    const QRect placed =
        placement::UsablePlacement(outerPixels(m_placement), outerPixels(StoredSettings{}), screens);
    move(placed.topLeft());
    resize(std::max(1, placed.width() - frameWidth), std::max(1, placed.height() - frameHeight));
}

void frmMain::CorrectPlacementForFrame()
{
    if (!m_placementPending || frameGeometry().size() == geometry().size())
        return;
    m_placementPending = false;
    ApplyPlacement();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    CorrectPlacementForFrame();
}

void frmMain::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    CorrectPlacementForFrame();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    CorrectPlacementForFrame();
    Form_Resize();
}

void frmMain::Form_Resize()
{
    if (isMinimized())
        return;
    const TwipsScale scale = Scale();
    const QRect outer = frameGeometry();
    const MainLayout layout =
        ComputeMainLayout(scale.ToTwipsX(outer.width()), scale.ToTwipsY(outer.height()));

    tbToolBar->setGeometry(0, 0, m_client->width(), tbToolBar->sizeHint().height());
    const int lineRight = scale.ToPixelsX(layout.lineRight);
    Line1->setGeometry(0, scale.ToPixelsY(510), lineRight, 1);
    Line2->setGeometry(0, scale.ToPixelsY(520), lineRight, 1);
    Place(Command1, layout.Command1, scale);
    Place(Command2, layout.Command2, scale);
    Place(Label1, layout.Label1, scale);
    Place(Label2, layout.Label2, scale);
    Place(RichTextBox1, layout.RichTextBox1, scale);
    Place(RichTextBox2, layout.RichTextBox2, scale);
    PlaceHeadingRow();
    // Where the window frame and bars take more room than the twips allow for, the panes end at the
    // bottom of the client area instead of being cut off there.
    for (TextPane *pane : {RichTextBox1, RichTextBox2}) {
        const int room = std::max(0, m_client->height() - pane->y());
        if (pane->height() > room)
            pane->resize(pane->width(), room);
    }
}

// ---- comparing a result with its source ----

void frmMain::CreateCompareMenuEntries()
{
    mnuViewScrollTogether = AddEntry(mnuView, "mnuViewScrollTogether", QStringLiteral("スクロールを連動(&S)"),
                                     {}, &frmMain::mnuViewScrollTogether_Click);
    mnuViewScrollTogether->setCheckable(true);
    mnuViewScrollTogether->setChecked(true);
    mnuViewNextChange = AddEntry(mnuView, "mnuViewNextChange", QStringLiteral("次の変更(&N)"),
                                 QKeySequence(Qt::Key_F7), &frmMain::mnuViewNextChange_Click);
    mnuViewPreviousChange =
        AddEntry(mnuView, "mnuViewPreviousChange", QStringLiteral("前の変更(&R)"),
                 QKeySequence(Qt::SHIFT | Qt::Key_F7), &frmMain::mnuViewPreviousChange_Click);
    mnuViewNextChange->setEnabled(false);
    mnuViewPreviousChange->setEnabled(false);
}

void frmMain::CreateComparison()
{
    lblChangeCount = NewLabel(m_client, "lblChangeCount", PGothicFont(11.25));
    lblChangeCount->hide();
    lblCheckCount = NewLabel(m_client, "lblCheckCount", PGothicFont(11.25));
    QPalette red = lblCheckCount->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    lblCheckCount->setPalette(red);
    lblCheckCount->hide();
    m_compare = std::make_unique<ResultCompare>(*RichTextBox1, *RichTextBox2);
    // Any edit of the result makes the marks stale; the conversion's own text comes before Show.
    connect(RichTextBox2, &TextPane::Changed, m_compare.get(), &ResultCompare::Clear);
    connect(m_compare.get(), &ResultCompare::ShownChanged, this, &frmMain::ShowChangeCount);
}
