#include "app/edit/SourcePaneInput.h"
#include "app/pane/TextPane.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A window with the two panes and an Edit menu whose entries record that they ran.
struct Window
{
    QMainWindow window;
    TextPane *source = new TextPane;
    TextPane *result = new TextPane;
    QMenu *edit = window.menuBar()->addMenu("編集(&E)");
    QStringList run;

    Window()
    {
        edit->setObjectName("mnuEdit");
        AddEntry("mnuEditCut", QKeySequence("Ctrl+X"));
        AddEntry("mnuEditCopy", QKeySequence("Ctrl+C"));
        AddEntry("mnuEditPaste", QKeySequence("Ctrl+V"));
        AddEntry("mnuEditAllSelect", QKeySequence("Ctrl+A"));
        auto *panes = new QWidget;
        auto *layout = new QHBoxLayout(panes);
        layout->addWidget(source);
        layout->addWidget(result);
        window.setCentralWidget(panes);
        new SourcePaneInput(*source, *edit);
        source->SetText("G01 X1.\r\nM30\r\n");
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void AddEntry(const char *name, const QKeySequence &shortcut)
    {
        QAction *entry = edit->addAction(name);
        entry->setObjectName(name);
        entry->setShortcut(shortcut);
        QObject::connect(entry, &QAction::triggered, [this, name] { run << name; });
    }
};

TEST(SourcePaneInputTest, EditShortcutsInTheSourcePaneRunTheMenuCommands)
{
    struct Case
    {
        Qt::Key key;
        const char *runs;
    };
    const Case cases[] = {
        {Qt::Key_X, "mnuEditCut"},
        {Qt::Key_C, "mnuEditCopy"},
        {Qt::Key_V, "mnuEditPaste"},
        {Qt::Key_A, "mnuEditAllSelect"},
    };
    Window w;
    w.source->setFocus();
    w.source->SetSelStart(0);
    w.source->SetSelLength(3);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.runs);
        w.run.clear();
        QTest::keyClick(w.source, c.key, Qt::ControlModifier);
        EXPECT_EQ(w.run, QStringList{c.runs});
    }
    // The pane itself cut nothing.
    EXPECT_EQ(w.source->Text(), "G01 X1.\r\nM30\r\n");
}

TEST(SourcePaneInputTest, InsertKeyTogglesOverwriteModeOfTheSourcePane)
{
    Window w;
    w.source->setFocus();
    EXPECT_FALSE(w.source->overwriteMode());
    QTest::keyClick(w.source, Qt::Key_Insert);
    EXPECT_TRUE(w.source->overwriteMode());
    w.source->SetSelStart(0);
    QTest::keyClicks(w.source, "N");
    EXPECT_EQ(w.source->Text(), "N01 X1.\r\nM30\r\n");
    QTest::keyClick(w.source, Qt::Key_Insert);
    EXPECT_FALSE(w.source->overwriteMode());
}

} // namespace
