#include "app/window/frmMain.h"

#include "app/review/PaneColouring.h"
#include "app/review/ResultCompare.h"
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
    m_checkCountText =
        shown && m_linesToCheck > 0 ? QStringLiteral("要確認 %1 行").arg(m_linesToCheck) : QString();
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
    // The count of lines to check follows the change count, in the same room.
    const int checkWidth = textWidth(lblCheckCount, m_checkCountText);
    const int gap = m_checkCountText.isEmpty() ? 0 : lblCheckCount->fontMetrics().horizontalAdvance(u' ') * 2;
    const HeadingTexts texts{textWidth(Label1, Label1->text()), textWidth(Label2, Label2->text()),
                             textWidth(lblChangeCount, m_changeCountText) + gap + checkWidth};
    const HeadingPlaces placed = PlaceHeading(given, texts, Scale().ToPixelsX(120));
    Label1->setGeometry(placed.label1);
    Label2->setGeometry(placed.notice);
    Command1->setGeometry(placed.ok);
    Command2->setGeometry(placed.cancel);
    lblChangeCount->setVisible(!placed.count.isEmpty());
    const QString change =
        lblChangeCount->fontMetrics().elidedText(m_changeCountText, Qt::ElideRight, placed.count.width());
    lblChangeCount->setText(change);
    const int changeWidth = textWidth(lblChangeCount, change);
    QRect check = placed.count;
    check.setLeft(std::min(placed.count.right() + 1, placed.count.left() + changeWidth + gap));
    lblChangeCount->setGeometry(placed.count.adjusted(0, 0, -(placed.count.width() - changeWidth), 0));
    lblCheckCount->setVisible(!placed.count.isEmpty() && !m_checkCountText.isEmpty() && check.width() > 0);
    lblCheckCount->setGeometry(check);
    lblCheckCount->setText(lblCheckCount->fontMetrics().elidedText(m_checkCountText, Qt::ElideRight,
                                                                   std::max(0, check.width())));
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
