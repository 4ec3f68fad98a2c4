#pragma once

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/window/DocumentFile.h"
#include "app/window/MainLayout.h"
#include "app/window/SettingsStore.h"
#include "recovery/FileStamp.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include <memory>

class Clipboard;
class QFileSystemWatcher;
class QTimer;
class RecoveryStore;
class RecoveryWriter;
class EditCommands;
class KeyboardLocks;
class MainStatusBar;
class PaneColouring;
class Prompter;
class SearchCommands;
class TextPaneTarget;
class TextPane;
class ToolPathView;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;
class ResultCompare;

// What the main window is handed from outside, so that tests can put fakes in place.
struct MainWindowServices
{
    Prompter &prompter;
    KeyboardLocks &keyboardLocks;
    QString settingsFile{};         // empty: the platform's per-user settings store
    QString applicationFolder{};    // where the executable lives: the default of both remembered folders
    Clipboard *clipboard = nullptr; // nullptr: the system clipboard
    // Where recovery copies of unsaved programs are kept; empty: none are written or offered.
    QString recoveryFolder{};
};

// The application frame: menus, the source and result panes, the document and its file, the settings.
class frmMain : public QMainWindow, public ConversionHost
{
    Q_OBJECT

public:
    explicit frmMain(const MainWindowServices &services, QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up: placement and folders from the settings, an idle result pane, the file named by the first
    // argument (after the program name), Caps Lock on.
    void Form_Load(const QStringList &arguments);

    // ConversionHost
    AppState &State() override;
    QString SourceText() const override;
    void SetResultText(const QString &text) override;
    void ShowConversionResult() override;
    void EnableUndo() override;
    void SetResultCaret(qsizetype position) override;
    void SetLinesToCheck(qsizetype lines) override;

    // The message boxes and file dialogs, and the keyboard locks, for the commands that need them.
    Prompter &Prompts() const { return m_prompter; }
    KeyboardLocks &Locks() const { return m_keyboardLocks; }

    // Where Save writes: the full path of the file opened or saved as; empty for an unnamed document.
    const QString &DocumentPath() const { return m_documentPath; }
    bool DocumentModified() const { return m_documentModified; }
    const QString &OpenPath() const { return m_openPath; }
    // Writes the source pane's text to `path`; false, after a message, when nothing was written.
    bool SaveDocument(const QString &path);
    // The Undo menu entry (and the toolbar button that shares its action).
    void SetUndoEnabled(bool enabled);
    // The comparison of a result waiting for OK or Cancel with its source.
    ResultCompare &Comparison() const { return *m_compare; }

    // Controls, named as their objectName.
    TextPane *RichTextBox1 = nullptr;
    TextPane *RichTextBox2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblChangeCount = nullptr;
    QLabel *lblCheckCount = nullptr; // "要確認 N 行" in red, beside the change count
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
    QToolBar *tbToolBar = nullptr;
    MainStatusBar *sbStatusBar = nullptr;

    QMenu *mnuFile = nullptr;
    QAction *mnuFileNew = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuEditUndo = nullptr;
    QAction *mnuEditCut = nullptr;
    QAction *mnuEditCopy = nullptr;
    QAction *mnuEditPaste = nullptr;
    QAction *mnuEditAllSelect = nullptr;
    QAction *mnuEditFind = nullptr;
    QAction *mnuEditNextFind = nullptr;
    QAction *mnuEditReplace = nullptr;
    QAction *mnuEditCalReplace = nullptr;
    QMenu *mnuConvertR = nullptr;
    QAction *mnuConvertRotation = nullptr;
    QAction *mnuConvertSpaceAdd = nullptr;
    QAction *mnuConvertPointAdd = nullptr;
    QAction *mnuConvertXY_XC = nullptr;
    QAction *mnuConvertG90_G91 = nullptr;
    QAction *mnuConvertUnit = nullptr;
    QAction *mnuConvertMachine = nullptr;
    QAction *mnuAddCR = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuViewColor = nullptr;
    QAction *mnuViewToolPath = nullptr;
    QAction *mnuViewScrollTogether = nullptr;
    QAction *mnuViewNextChange = nullptr;
    QAction *mnuViewPreviousChange = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpAbout = nullptr;

    // Handlers, one per control event.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click();
    void mnuEditUndo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditAllSelect_Click();
    void mnuEditFind_Click();
    void mnuEditNextFind_Click();
    void mnuEditReplace_Click();
    void mnuEditCalReplace_Click();
    void mnuConvertRotation_Click();
    void mnuConvertSpaceAdd_Click();
    void mnuConvertPointAdd_Click();
    void mnuConvertXY_XC_Click();
    void mnuConvertG90_G91_Click();
    void mnuConvertUnit_Click();
    void mnuConvertMachine_Click();
    void mnuAddCR_Click();
    void mnuViewColor_Click();
    void mnuViewScrollTogether_Click();
    void mnuViewNextChange_Click();
    void mnuViewPreviousChange_Click();
    void mnuHelpAbout_Click();
    void mnuViewToolPath_Click(bool checked);
    void Command1_Click();
    void Command2_Click();
    void RichTextBox1_Change();
    void RichTextBox1_MouseDown(const QPoint &globalPos);

    // Lays the controls out for the current window size (not while minimised).
    void Form_Resize();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CreateMenus();
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateConvertMenu();
    void CreateViewMenu();
    void CreateHelpMenu();
    void CreateControls();
    void CreateStatusBar();
    void CreateEditCommands(Clipboard *clipboard);
    QAction *AddEntry(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                      void (frmMain::*handler)());
    void AddSeparator(QMenu *menu, const char *name);

    void Form_Unload();
    void CloseOtherWindows();
    void ApplyPlacement();
    void CorrectPlacementForFrame();
    TwipsScale Scale() const;

    bool AskToDiscardChanges(const QString &question);
    bool LoadIntoSourcePane(const QString &path);
    void SetResultIdle();
    void SetLabel2Colour(const QColor &colour);

    Prompter &m_prompter;
    KeyboardLocks &m_keyboardLocks;
    QString m_applicationFolder;
    SettingsStore m_settings;
    DocumentFile m_file;
    AppState m_state;
    std::unique_ptr<Clipboard> m_systemClipboard;
    std::unique_ptr<EditCommands> m_editCommands;

    QWidget *m_client = nullptr; // the area under the menu bar, in which the layout places the controls

    QString m_documentPath;
    bool m_documentModified = false;
    QString m_openPath;

    // The placement read at start-up, in twips, applied again once the window frame is known.
    StoredSettings m_placement;
    bool m_placementPending = false;

    // Find, Replace, the calculation replace and the line-end repair over the source pane.
    void CreateSearchCommands();
    std::unique_ptr<TextPaneTarget> m_sourceTarget;
    std::unique_ptr<SearchCommands> m_search;

    // The NC words of each pane in colour; owned by their panes.
    void CreateColouring();
    PaneColouring *m_sourceColours = nullptr;
    PaneColouring *m_resultColours = nullptr;
    // The tool path window, made when first opened.
    ToolPathView *m_toolPathView = nullptr;
    // The marks of a result compared with its source, and the count of changed lines in the heading.
    void CreateComparison();
    void CreateCompareMenuEntries();
    void ShowChangeCount(bool shown);
    void PlaceHeadingRow();
    // Goes before the panes do: it takes its marks out of them.
    std::unique_ptr<ResultCompare> m_compare;
    QString m_changeCountText;
    qsizetype m_linesToCheck = 0;
    QString m_checkCountText;

    // Nothing typed is lost: a recovery copy of unsaved changes, written a short while after typing stops,
    // offered again after an editor ended without closing; and the open file watched for changes by
    // other programs.
    void StartRecovery(const QString &folder);
    void OfferLeftCopies();
    void ScheduleRecoveryCopy();
    void WriteRecoveryCopy();
    void DiscardRecoveryCopy();
    void ShowRecoveryNotice(const QString &text);
    void WatchDocument();
    void DocumentFile_Changed(const QString &path);
    bool AskToOverwriteChangedFile();
    QString m_recoveryFolder;
    std::unique_ptr<RecoveryStore> m_recoveryStore;
    std::unique_ptr<RecoveryWriter> m_recoveryWriter;
    QTimer *m_recoveryIdle = nullptr;
    QTimer *m_recoveryLongest = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    FileStamp m_documentStamp; // the open file as last read or written
    FileStamp m_reportedStamp; // the outside change last reported, so that it is reported once

public:
    // The recovery copy's path while recovery runs (tests wait for it); empty otherwise.
    QString RecoveryCopyPath() const;
};
