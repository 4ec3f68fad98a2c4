#include "app/machine/Machine.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/machine/FlexGrid.h"
#include "machine/TableFile.h"
#include "machine/Translator.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int GridRows = ConversionTable::RowCount + 1;
constexpr int GridCols = 4;
constexpr int ColumnTwips[GridCols] = {450, 2650, 2150, 2150};
constexpr int RowTwips = 350;
constexpr int VisibleRows = 15;
// The first rows hold the machine pair and the settings the translator reads; their labels are fixed.
constexpr int FirstEditableItemRow = 7;

// Each description is shown as it stands (the file dialog hides the last parenthesised list); "All Files"
// lists every file, also those without a dot.
const char *const TableFileFilter = "CSV Files(*.csv) (*.csv);;All Files(*.*) (*)";

QPushButton *MakeButton(const QString &text, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    // Enter belongs to the grid and its editor, never to a default button.
    button->setAutoDefault(false);
    return button;
}

} // namespace

MachineServices MachineServices::Standard()
{
    MachineServices services;
    services.ChooseFile = [](QWidget *parent, const QString &folder, const QString &filter) {
        QFileDialog dialog(parent, QString(), folder, filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        // Qt's own dialog matches the filter patterns regardless of case ("*.csv" lists TABLE.CSV).
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    services.ShowMessage = [](QWidget *parent, QMessageBox::Icon icon, const QString &text) {
        QMessageBox box(icon, QStringLiteral("Brindlewick"), text, QMessageBox::Ok, parent);
        box.exec();
    };
    return services;
}

Machine::Machine(ConversionHost &host, QWidget *parent, MachineServices services)
    : QDialog(parent), m_host(host), m_services(std::move(services))
{
    setObjectName(QStringLiteral("Machine"));
    setWindowTitle(QStringLiteral("機種間の変換"));
    setModal(true);
    BuildControls();
    Form_Load();
}

bool Machine::AddsLineAfterStop() const
{
    return Check1->isChecked();
}

void Machine::BuildControls()
{
    Label2 =
        new QLabel(QStringLiteral("FANUC旋盤→OSP (U,W,G0-4,G28,G30,G32,G40-42,G50,G53 G65 ,G66,G67,G74,G75,"
                                  "G76,G80,G83,G84,G85,G87 ,G88,G89,G90,G92 G94,G96,G97,G98,G99     対応済)"),
                   this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label1 = new QLabel(QStringLiteral("設定ファイル名"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    MachineFile = new QLineEdit(this);
    MachineFile->setObjectName(QStringLiteral("MachineFile"));
    MachineFile->setReadOnly(true);
    MSFlexGrid1 = new FlexGrid(GridRows, GridCols, this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    Text1 = new QLineEdit(MSFlexGrid1->viewport());
    Text1->setObjectName(QStringLiteral("Text1"));
    Command1 = MakeButton(QStringLiteral("ファイル読込"), "Command1", this);
    Command2 = MakeButton(QStringLiteral("保存"), "Command2", this);
    Check1 = new QCheckBox(QStringLiteral("M00,M01の後に改行を追加。"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    OKButton = MakeButton(QStringLiteral("変　換"), "OKButton", this);
    CancelButton = MakeButton(QStringLiteral("ｷｬﾝｾﾙ"), "CancelButton", this);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(Label1);
    fileRow->addWidget(MachineFile, 1);
    fileRow->addWidget(Command1);
    fileRow->addWidget(Command2);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(Check1);
    buttonRow->addStretch(1);
    buttonRow->addWidget(OKButton);
    buttonRow->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addLayout(fileRow);
    layout->addWidget(MSFlexGrid1);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command1, &QPushButton::clicked, this, &Machine::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Machine::Command2_Click);
    connect(OKButton, &QPushButton::clicked, this, &Machine::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(MSFlexGrid1, &FlexGrid::KeyPress, this, &Machine::MSFlexGrid1_KeyPress);
    connect(MSFlexGrid1, &FlexGrid::DblClick, this, &Machine::MSFlexGrid1_DblClick);
    connect(MSFlexGrid1, &FlexGrid::GotFocus, this, &Machine::MSFlexGrid1_GotFocus);
    connect(MSFlexGrid1, &QTableWidget::currentCellChanged, this, &Machine::MSFlexGrid1_LeaveCell);
    Text1->installEventFilter(this);
}

void Machine::Form_Load()
{
    SetUpGrid();
    QPalette editorColours = Text1->palette();
    editorColours.setColor(QPalette::Base, QColor(255, 255, 128));
    Text1->setPalette(editorColours);
    Text1->setFrame(false);
    Text1->clear();
    Text1->hide();
    // The grid always shows the table the translator will use, also the rows a short file does not reach.
    FillGridFromTable();
    MSFlexGrid1->SetCurrent(1, 1);
    // Typing goes straight into the grid when the dialog opens.
    MSFlexGrid1->setFocus();
    if (!m_host.State().MachineFileName.isEmpty())
        ReadTableFile();
}

void Machine::SetUpGrid()
{
    FlexGrid &grid = *MSFlexGrid1;
    int width = 0;
    for (int c = 0; c < GridCols; ++c) {
        grid.SetColWidthTwips(c, ColumnTwips[c]);
        width += grid.columnWidth(c);
    }
    grid.SetRowHeightTwips(RowTwips);
    const QString headers[GridCols] = {QStringLiteral("No."), QStringLiteral("項　目"),
                                       QStringLiteral("変換前"), QStringLiteral("変換後")};
    for (int c = 0; c < GridCols; ++c) {
        grid.SetTextMatrix(0, c, headers[c]);
        grid.SetHeaderAlignment(c, Qt::AlignCenter);
    }
    grid.SetColAlignment(1, Qt::AlignLeft | Qt::AlignVCenter);
    grid.SetColAlignment(2, Qt::AlignCenter);
    grid.SetColAlignment(3, Qt::AlignCenter);
    const int frame = 2 * grid.frameWidth();
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid.setFixedSize(width + grid.verticalScrollBar()->sizeHint().width() + frame,
                      grid.horizontalHeader()->height() + VisibleRows * grid.rowHeight(0) + frame);
}

void Machine::FillGridFromTable()
{
    const ConversionTable &table = m_host.State().Table;
    for (int r = 1; r <= ConversionTable::RowCount; ++r) {
        const ConversionTableRow &row = table.Row(r);
        MSFlexGrid1->SetTextMatrix(r, 1, row.item.value_or(QString()));
        MSFlexGrid1->SetTextMatrix(r, 2, row.before.value_or(QString()));
        MSFlexGrid1->SetTextMatrix(r, 3, row.after);
    }
}

void Machine::ReadTableFile()
{
    AppState &state = m_host.State();
    MSFlexGrid1->setUpdatesEnabled(false);
    const TableFileResult result =
        ::ReadTableFile(TableFilePath(state.MachinePath, state.MachineFileName), state.Table);
    FillGridFromTable();
    if (result.ok) {
        MSFlexGrid1->SetCurrent(1, 2);
        MSFlexGrid1->SetTopRow(1);
    }
    MSFlexGrid1->setUpdatesEnabled(true);
    if (!result.ok) {
        m_services.ShowMessage(this, QMessageBox::NoIcon, result.message);
        return;
    }
    MachineFile->setText(state.MachineFileName.toUpper());
}

void Machine::Command1_Click()
{
    // Reading a file replaces what the grid shows, so an edit still open is dropped with it.
    DropEdit();
    AppState &state = m_host.State();
    const QString chosen = m_services.ChooseFile(this, state.MachinePath, QLatin1String(TableFileFilter));
    if (!chosen.isEmpty()) {
        const QFileInfo file(chosen);
        state.MachinePath = file.absolutePath();
        state.MachineFileName = file.fileName();
    }
    if (!state.MachineFileName.isEmpty())
        ReadTableFile();
}

void Machine::Command2_Click()
{
    // The text still in the editor is what the user sees in the cell, so it is saved too.
    CommitEdit();
    const AppState &state = m_host.State();
    if (state.MachineFileName.isEmpty())
        return;
    const TableFileResult result =
        WriteTableFile(TableFilePath(state.MachinePath, state.MachineFileName), state.Table);
    if (!result.ok)
        m_services.ShowMessage(this, QMessageBox::Warning, result.message);
}

// The FANUC-to-OSP translation over the source pane. A failure keeps the lines translated before it in the
// result pane, is reported, and leaves the dialog open with nothing offered for acceptance.
void Machine::OKButton_Click()
{
    CommitEdit();
    TranslatorOptions options;
    options.Check1 = AddsLineAfterStop();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString source = m_host.SourceText();
    m_host.State().UndoText = source;
    const TranslationResult result = TranslateProgram(source, m_host.State().Table, options);
    m_host.SetResultText(result.text);
    QGuiApplication::restoreOverrideCursor();
    if (result.failed) {
        const QMessageBox::Icon icon =
            result.failure == TranslationFailure::Index ? QMessageBox::Critical : QMessageBox::NoIcon;
        m_services.ShowMessage(this, icon, result.message);
        return;
    }
    m_host.SetResultCaret(1);
    m_host.SetLinesToCheck(result.flaggedLines);
    m_host.ShowConversionResult();
    accept();
}

void Machine::MSFlexGrid1_KeyPress(const QString &keyText)
{
    if (CanEditCurrentCell())
        BeginCellEdit(keyText);
}

void Machine::MSFlexGrid1_DblClick()
{
    if (CanEditCurrentCell())
        BeginCellEdit(QString());
}

void Machine::MSFlexGrid1_GotFocus()
{
    CommitEdit();
}

void Machine::MSFlexGrid1_LeaveCell()
{
    CommitEdit();
}

bool Machine::CanEditCurrentCell() const
{
    const int row = MSFlexGrid1->Row();
    const int col = MSFlexGrid1->Col();
    if (row < 1 || col < 1)
        return false;
    return col == 2 || col == 3 || row >= FirstEditableItemRow;
}

void Machine::BeginCellEdit(const QString &keyText)
{
    // A typed character starts a new text; a control key, the space or a double click edits the cell's text.
    const bool typed = !keyText.isEmpty() && keyText.front().unicode() > 32;
    m_editRow = MSFlexGrid1->Row();
    m_editCol = MSFlexGrid1->Col();
    Text1->setText(typed ? keyText : MSFlexGrid1->TextMatrix(m_editRow, m_editCol));
    Text1->end(false);
    Text1->setAlignment(m_editCol == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    PlaceEditor(m_editRow, m_editCol);
    m_editing = true;
    Text1->show();
    Text1->raise();
    Text1->setFocus();
}

void Machine::PlaceEditor(int row, int col)
{
    Text1->setGeometry(MSFlexGrid1->CellRect(row, col));
}

bool Machine::EditorKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        // The grid takes the focus before the editor hides, so the focus never passes through a neighbour.
        m_editing = false;
        MSFlexGrid1->setFocus();
        DropEdit();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        MSFlexGrid1->setFocus();
        CommitEdit();
        const int row = MSFlexGrid1->Row();
        const int col = MSFlexGrid1->Col();
        const int next = key == Qt::Key_Up ? row - 1 : row + 1;
        if (next >= 1 && next < MSFlexGrid1->Rows()) {
            MSFlexGrid1->SetCurrent(next, col);
            PlaceEditor(next, col);
        }
        return true;
    }
    default:
        return false;
    }
}

void Machine::CommitEdit()
{
    if (!m_editing)
        return;
    // Cleared first: hiding the editor moves the focus, which comes back here.
    m_editing = false;
    const QString text = Text1->text();
    Text1->hide();
    MSFlexGrid1->SetTextMatrix(m_editRow, m_editCol, text);
    StoreIntoTable(m_editRow, m_editCol, text);
}

void Machine::DropEdit()
{
    m_editing = false;
    Text1->hide();
}

void Machine::StoreIntoTable(int row, int col, const QString &text)
{
    ConversionTableRow &entry = m_host.State().Table.Row(row);
    // A field without a value shows as an empty cell; leaving it empty keeps it without a value, so the
    // file still writes nothing for it.
    switch (col) {
    case 1:
        if (text != entry.item.value_or(QString()))
            entry.item = text;
        break;
    case 2:
        if (text != entry.before.value_or(QString()))
            entry.before = text;
        break;
    case 3:
        entry.after = text;
        break;
    }
}

bool Machine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress)
        return EditorKeyDown(static_cast<QKeyEvent *>(event)->key());
    return QDialog::eventFilter(watched, event);
}
