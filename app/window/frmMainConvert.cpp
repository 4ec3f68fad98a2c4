#include "app/window/frmMain.h"

#include "app/convert/G90_G91.h"
#include "app/convert/PointAdd.h"
#include "app/convert/Space.h"
#include "app/convert/Spindle.h"
#include "app/convert/Unit.h"
#include "app/convert/XY_CX.h"
#include "app/review/ResultCompare.h"
#include "app/machine/Machine.h"
#include "app/pane/TextPane.h"
#include "app/toolpath/ToolPathView.h"
#include "app/window/MainWindowTexts.h"
#include "app/window/Prompter.h"

#include <QLabel>
#include <QPushButton>

// The result pane and the conversions that write into it.

namespace {

const QString ResultNotice = QStringLiteral("確認後[OK]を押すと左側へ反映します。");
const QColor Black(0, 0, 0);
const QColor PureRed(255, 0, 0);

} // namespace

// ---- the result pane ----

AppState &frmMain::State()
{
    return m_state;
}

QString frmMain::SourceText() const
{
    return RichTextBox1->Text();
}

void frmMain::SetResultText(const QString &text)
{
    m_linesToCheck = 0;
    RichTextBox2->SetText(text);
}

void frmMain::SetResultCaret(qsizetype position)
{
    RichTextBox2->SetSelStart(position);
}

void frmMain::SetLinesToCheck(qsizetype lines)
{
    m_linesToCheck = lines;
}

void frmMain::EnableUndo()
{
    SetUndoEnabled(true);
}

void frmMain::SetLabel2Colour(const QColor &colour)
{
    QPalette palette = Label2->palette();
    palette.setColor(QPalette::WindowText, colour);
    Label2->setPalette(palette);
}

void frmMain::ShowConversionResult()
{
    SetLabel2Colour(PureRed);
    Label2->setText(ResultNotice);
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    if (m_toolPathView)
        m_toolPathView->ShowResult();
    m_compare->Show();
}

void frmMain::Command1_Click()
{
    RichTextBox1->SetText(RichTextBox2->Text());
    SetResultIdle();
}

void frmMain::Command2_Click()
{
    SetResultIdle();
}

void frmMain::SetResultIdle()
{
    m_linesToCheck = 0;
    m_compare->Clear();
    RichTextBox2->SetText(QString());
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    SetLabel2Colour(Black);
    Label2->setText(app::ResultHeading);
    if (m_toolPathView)
        m_toolPathView->HideResult();
    Form_Resize();
}

// ---- conversions: each dialog runs its pass on OK and hands the result to the result pane ----

void frmMain::mnuConvertSpaceAdd_Click()
{
    Space dialog(*this, this);
    dialog.exec();
}

void frmMain::mnuConvertPointAdd_Click()
{
    PointAdd dialog(*this, this);
    dialog.exec();
}

void frmMain::mnuConvertUnit_Click()
{
    Unit dialog(*this, this);
    dialog.exec();
}

// ---- commands built with their own windows ----

// Each conversion entry only shows its dialog modally; the dialog runs the pass and offers the result.
void frmMain::mnuConvertRotation_Click()
{
    Spindle dialog(*this, this);
    dialog.exec();
}

void frmMain::mnuConvertXY_XC_Click()
{
    XY_CX dialog(*this, this);
    dialog.exec();
}

void frmMain::mnuConvertG90_G91_Click()
{
    G90_G91 dialog(*this, this);
    dialog.exec();
}

// ---- the machine conversion ----

namespace {

Prompter::Icon PrompterIcon(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Information:
        return Prompter::Icon::Information;
    case QMessageBox::Warning:
        return Prompter::Icon::Warning;
    case QMessageBox::Critical:
        return Prompter::Icon::Critical;
    default:
        return Prompter::Icon::None;
    }
}

// The table dialog asks through the main window's prompter, so that whoever answers the editor's
// dialogs (a test, say) answers its dialogs too.
MachineServices PrompterServices(Prompter &prompter)
{
    MachineServices services;
    services.ChooseFile = [&prompter](QWidget *parent, const QString &folder, const QString &filter) {
        return prompter.ChooseFileToOpen(parent, folder, filter).filePath;
    };
    services.ShowMessage = [&prompter](QWidget *parent, QMessageBox::Icon icon, const QString &text) {
        prompter.ShowMessage(parent, app::AppTitle, text, PrompterIcon(icon));
    };
    return services;
}

} // namespace

void frmMain::mnuConvertMachine_Click()
{
    Machine dialog(*this, this, PrompterServices(m_prompter));
    dialog.exec();
}
