#include "app/window/frmMain.h"

#include "app/inspect/PaneColouring.h"
#include "app/inspect/ResultCompare.h"
#include "app/pane/TextPane.h"
#include "app/toolpath/ToolPathView.h"
#include "app/window/HeadingLayout.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

// The View menu: colours, the tool path window, the comparison of a result with its source.

// ---- the colours of NC words ----

void frmMain::mnuViewColor_Click()
{
    m_sourceColours->SetEnabled(mnuViewColor->isChecked());
    m_resultColours->SetEnabled(mnuViewColor->isChecked());
}

// ---- the tool path window ----

// The window is made on first use; closing it unchecks the entry.
void frmMain::mnuViewToolPath_Click(bool checked)
{
    if (!m_toolPathView) {
        if (!checked)
            return;
        m_toolPathView = new ToolPathView(*RichTextBox1, *RichTextBox2, m_state.Table, this);
        connect(m_toolPathView, &ToolPathView::Closed, this, [this] { mnuViewToolPath->setChecked(false); });
        if (Command1->isEnabled())
            m_toolPathView->ShowResult();
    }
    m_toolPathView->setVisible(checked);
}

// ---- comparing a result with its source ----

void frmMain::ShowChangeCount(bool shown)
{
    mnuViewNextChange->setEnabled(shown);
    mnuViewPreviousChange->setEnabled(shown);
    const compare::LineDiff *diff = m_compare->Diff();
    m_changeCountText = shown && diff ? ResultCompare::CountText(diff->changedLines) : QString();
    Form_Resize();
}

// The notice, the count and the buttons share one row: the notice stays whole and clear of the buttons,
// the count takes the room left over.
void frmMain::PlaceHeadingRow()
{
    const auto textWidth = [](const QLabel *label, const QString &text) {
        return text.isEmpty() ? 0 : label->fontMetrics().horizontalAdvance(text) + 2;
    };
    const HeadingPlaces given{
        Label1->geometry(), Label2->geometry(), {}, Command1->geometry(), Command2->geometry()};
    const HeadingTexts texts{textWidth(Label1, Label1->text()), textWidth(Label2, Label2->text()),
                             textWidth(lblChangeCount, m_changeCountText)};
    const HeadingPlaces placed = PlaceHeading(given, texts, Scale().ToPixelsX(120));
    Label1->setGeometry(placed.label1);
    Label2->setGeometry(placed.notice);
    Command1->setGeometry(placed.ok);
    Command2->setGeometry(placed.cancel);
    lblChangeCount->setVisible(!placed.count.isEmpty());
    lblChangeCount->setGeometry(placed.count);
    lblChangeCount->setText(
        lblChangeCount->fontMetrics().elidedText(m_changeCountText, Qt::ElideRight, placed.count.width()));
}

void frmMain::mnuViewScrollTogether_Click()
{
    m_compare->SetScrollTogether(mnuViewScrollTogether->isChecked());
}

void frmMain::mnuViewNextChange_Click()
{
    m_compare->NextChange();
}

void frmMain::mnuViewPreviousChange_Click()
{
    m_compare->PreviousChange();
}
