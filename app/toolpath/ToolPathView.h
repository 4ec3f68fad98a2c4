#pragma once

#include "app/toolpath/ToolPathPlot.h"

#include <QWidget>
#include <memory>
#include <vector>

class ConversionTable;
class QComboBox;
class QLabel;
class QPushButton;
class QThread;
class QTimer;
class TextPane;

// The window "工具経路": the path of the source pane's program, and while a conversion result is shown
// the result's path over it with the places where they differ. The paths are worked out off the window's
// thread a moment after the text stops changing, so typing in a long program never waits for them.
class ToolPathView : public QWidget
{
    Q_OBJECT

public:
    // `table` gives the home position G28 returns to (the translator's row "原点復帰位置").
    ToolPathView(TextPane &source, TextPane &result, const ConversionTable &table, QWidget *parent);
    ~ToolPathView() override;

    // A conversion result is shown in the result pane, or is gone.
    void ShowResult();
    void HideResult();

    // Controls, named as their objectName.
    QComboBox *cboPlane = nullptr;
    QPushButton *cmdFit = nullptr;
    QLabel *lblSummary = nullptr;
    ToolPathPlot *picPath = nullptr;

    // True while paths are being worked out or wait to be (tests wait on it).
    bool Busy() const;

signals:
    // New paths are drawn.
    void PathsShown();
    // The window was closed.
    void Closed();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct Work;

    void Recompute();
    void Start();
    void Finished();
    void ApplyPlaneChoice();
    void ShowCaretLine();
    void SelectLine(std::int32_t line, bool inResult);
    QString Summary(const Work &work) const;

    TextPane &m_source;
    TextPane &m_result;
    const ConversionTable &m_table;
    QTimer *m_delay = nullptr;
    bool m_resultShown = false;
    bool m_pending = false;
    bool m_fitNext = true;
    QThread *m_thread = nullptr;
    std::shared_ptr<Work> m_running;
    std::shared_ptr<Work> m_shown;
};
