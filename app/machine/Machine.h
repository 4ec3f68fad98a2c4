#pragma once

#include <QDialog>
#include <QMessageBox>
#include <functional>

class ConversionHost;
class FlexGrid;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The file dialog and message boxes the table dialog uses, replaceable so tests can answer them.
struct MachineServices
{
    // Returns the chosen file's full path, or an empty text when the user cancels.
    std::function<QString(QWidget *parent, const QString &folder, const QString &filter)> ChooseFile;
    std::function<void(QWidget *parent, QMessageBox::Icon icon, const QString &text)> ShowMessage;

    static MachineServices Standard();
};

// The machine conversion dialog: chooses, shows, edits and saves the conversion table, and runs the
// FANUC-to-OSP translation. The grid always shows the table in the application state: every edit the
// editor puts into a cell is stored into the table too, Esc drops it.
class Machine : public QDialog
{
    Q_OBJECT

public:
    Machine(ConversionHost &host, QWidget *parent = nullptr,
            MachineServices services = MachineServices::Standard());

    bool AddsLineAfterStop() const;

private:
    void BuildControls();
    void Form_Load();
    void SetUpGrid();
    void FillGridFromTable();
    void ReadTableFile();

    void Command1_Click();
    void Command2_Click();
    void OKButton_Click();

    void MSFlexGrid1_KeyPress(const QString &keyText);
    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_GotFocus();
    void MSFlexGrid1_LeaveCell();
    bool CanEditCurrentCell() const;
    void BeginCellEdit(const QString &keyText);
    void PlaceEditor(int row, int col);
    bool EditorKeyDown(int key);
    void CommitEdit();
    void DropEdit();
    void StoreIntoTable(int row, int col, const QString &text);
    bool eventFilter(QObject *watched, QEvent *event) override;

    ConversionHost &m_host;
    MachineServices m_services;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *MachineFile = nullptr;
    FlexGrid *MSFlexGrid1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    // The cell the editor was opened on; the edit goes there even when the current cell has moved on.
    bool m_editing = false;
    int m_editRow = 0;
    int m_editCol = 0;
};
