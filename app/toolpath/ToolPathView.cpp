#include "app/toolpath/ToolPathView.h"

#include "app/pane/TextPane.h"
#include "machine/ConversionTable.h"
#include "toolpath/PathCompare.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// How long the text must stay unchanged before its path is worked out again.
constexpr int RecomputeDelayMs = 300;
// The row of the conversion table that names the home position.
constexpr int HomePositionRow = 5;

// "加工時間 約 m 分 ss 秒", to the nearest second.
QString TimeText(const toolpath::ToolPath &path)
{
    const qint64 seconds = qRound64(path.time.Total());
    return QStringLiteral("加工時間 約 %1 分 %2 秒")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString ReasonText(toolpath::CycleRefusal reason)
{
    switch (reason) {
    case toolpath::CycleRefusal::ProfileNotFound:
        return QStringLiteral("形状が見つからない");
    case toolpath::CycleRefusal::NotMonotonic:
        return QStringLiteral("形状が単調でない");
    case toolpath::CycleRefusal::NoProfile:
        return QStringLiteral("仕上げる形状がない");
    case toolpath::CycleRefusal::NoDepth:
        return QStringLiteral("切込みがない");
    case toolpath::CycleRefusal::TooManyPasses:
        return QStringLiteral("パスが多すぎる");
    case toolpath::CycleRefusal::StartUnknown:
        return QStringLiteral("開始位置が不明");
    case toolpath::CycleRefusal::None:
        break;
    }
    return QString();
}

// The cycles drawn as a marker: how many, and the first with its line (counted from 1, as the panes do)
// and why.
QString RefusedText(const toolpath::ToolPath &path)
{
    if (path.refusedCycles.empty())
        return QString();
    const toolpath::RefusedCycle &first = path.refusedCycles.front();
    return QStringLiteral("  展開できないサイクル %1 (%2 行: %3)")
        .arg(path.refusedCycles.size())
        .arg(first.line + 1)
        .arg(ReasonText(first.reason));
}

std::int32_t LineOf(const std::vector<qsizetype> &starts, qsizetype offset)
{
    const auto after = std::upper_bound(starts.begin(), starts.end(), offset);
    return std::int32_t(std::max<qsizetype>(0, (after - starts.begin()) - 1));
}

} // namespace

// One working out: the texts it was given and what came of them.
struct ToolPathView::Work
{
    QString sourceText;
    QString resultText;
    bool withResult = false;
    toolpath::PathOptions options;

    std::shared_ptr<toolpath::ToolPath> source;
    std::shared_ptr<toolpath::ToolPath> result;
    std::shared_ptr<toolpath::PathComparison> comparison;
    std::vector<qsizetype> sourceStarts;
    std::vector<qsizetype> resultStarts;

    void Run()
    {
        source = std::make_shared<toolpath::ToolPath>(toolpath::WalkToolPath(sourceText, options));
        sourceStarts = toolpath::LineStarts(sourceText);
        if (!withResult)
            return;
        result = std::make_shared<toolpath::ToolPath>(toolpath::WalkToolPath(resultText, options));
        resultStarts = toolpath::LineStarts(resultText);
        comparison = std::make_shared<toolpath::PathComparison>(toolpath::ComparePaths(*source, *result));
        // a result in another unit is drawn in the source's, over it
        if (comparison->resultScale != 1)
            *result = toolpath::ScaledPath(*result, comparison->resultScale);
    }
};

ToolPathView::ToolPathView(TextPane &source, TextPane &result, const ConversionTable &table, QWidget *parent)
    : QWidget(parent, Qt::Window), m_source(source), m_result(result), m_table(table)
{
    setObjectName(QStringLiteral("ToolPathView"));
    setWindowTitle(QStringLiteral("工具経路"));
    resize(640, 480);

    cboPlane = new QComboBox(this);
    cboPlane->setObjectName(QStringLiteral("cboPlane"));
    cboPlane->addItems(
        {QStringLiteral("自動"), QStringLiteral("XZ (旋盤)"), QStringLiteral("XY (フライス)")});
    cmdFit = new QPushButton(QStringLiteral("全体表示"), this);
    cmdFit->setObjectName(QStringLiteral("cmdFit"));
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    picPath = new ToolPathPlot(this);
    picPath->setObjectName(QStringLiteral("picPath"));

    auto *controls = new QHBoxLayout;
    controls->addWidget(cboPlane);
    controls->addWidget(cmdFit);
    controls->addWidget(lblSummary, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(picPath, 1);

    m_delay = new QTimer(this);
    m_delay->setSingleShot(true);
    m_delay->setInterval(RecomputeDelayMs);
    connect(m_delay, &QTimer::timeout, this, &ToolPathView::Recompute);
    connect(&m_source, &TextPane::Changed, this, [this] {
        if (isVisible())
            m_delay->start();
    });
    connect(&m_source, &QPlainTextEdit::cursorPositionChanged, this, &ToolPathView::ShowCaretLine);
    connect(cboPlane, &QComboBox::currentIndexChanged, this, &ToolPathView::ApplyPlaneChoice);
    connect(cmdFit, &QPushButton::clicked, picPath, &ToolPathPlot::ZoomToFit);
    connect(picPath, &ToolPathPlot::SegmentClicked, this, &ToolPathView::SelectLine);
}

// A working out still running owns its own data; the window only waits for it.
ToolPathView::~ToolPathView()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void ToolPathView::ShowResult()
{
    m_resultShown = true;
    m_fitNext = true;
    if (isVisible())
        Recompute();
}

void ToolPathView::HideResult()
{
    if (!m_resultShown)
        return;
    m_resultShown = false;
    if (isVisible())
        Recompute();
}

bool ToolPathView::Busy() const
{
    return m_thread || m_pending || m_delay->isActive();
}

void ToolPathView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_fitNext = true;
    Recompute();
}

void ToolPathView::hideEvent(QHideEvent *event)
{
    m_delay->stop();
    QWidget::hideEvent(event);
}

void ToolPathView::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit Closed();
}

void ToolPathView::Recompute()
{
    m_delay->stop();
    if (m_thread) {
        m_pending = true;
        return;
    }
    Start();
}

void ToolPathView::Start()
{
    m_pending = false;
    auto work = std::make_shared<Work>();
    work->sourceText = m_source.Text();
    work->withResult = m_resultShown;
    if (m_resultShown)
        work->resultText = m_result.Text();
    work->options.home = toolpath::PositionOfWords(m_table.Row(HomePositionRow).after);
    m_running = work;
    m_thread = QThread::create([work] { work->Run(); });
    connect(m_thread, &QThread::finished, this, &ToolPathView::Finished);
    m_thread->start();
}

void ToolPathView::Finished()
{
    m_thread->deleteLater();
    m_thread = nullptr;
    m_shown = std::move(m_running);
    const bool planeChanges = cboPlane->currentIndex() == 0;
    if (planeChanges)
        picPath->SetPlane(m_shown->source->PlotsXz() ? ToolPathPlot::Plane::XZ : ToolPathPlot::Plane::XY);
    picPath->SetPaths({m_shown->source, m_shown->result, m_shown->comparison}, m_fitNext);
    m_fitNext = false;
    lblSummary->setText(Summary(*m_shown));
    ShowCaretLine();
    if (m_pending)
        Start();
    emit PathsShown();
}

void ToolPathView::ApplyPlaneChoice()
{
    const int choice = cboPlane->currentIndex();
    if (choice == 1)
        picPath->SetPlane(ToolPathPlot::Plane::XZ);
    else if (choice == 2)
        picPath->SetPlane(ToolPathPlot::Plane::XY);
    else if (m_shown)
        picPath->SetPlane(m_shown->source->PlotsXz() ? ToolPathPlot::Plane::XZ : ToolPathPlot::Plane::XY);
}

void ToolPathView::ShowCaretLine()
{
    if (!m_shown)
        return;
    picPath->HighlightLine(LineOf(m_shown->sourceStarts, m_source.SelStart()));
}

// The line is selected without its CR LF.
void ToolPathView::SelectLine(std::int32_t line, bool inResult)
{
    if (!m_shown)
        return;
    TextPane &pane = inResult ? m_result : m_source;
    const std::vector<qsizetype> &starts = inResult ? m_shown->resultStarts : m_shown->sourceStarts;
    if (line < 0 || std::size_t(line) >= starts.size())
        return;
    const qsizetype start = starts[std::size_t(line)];
    const qsizetype end =
        std::size_t(line) + 1 < starts.size() ? starts[std::size_t(line) + 1] - 2 : pane.SystemLength();
    pane.SetSelStart(start);
    pane.SetSelLength(std::max<qsizetype>(0, end - start));
    pane.setFocus();
}

QString ToolPathView::Summary(const Work &work) const
{
    const auto problems = [](const toolpath::ToolPath &path) {
        const toolpath::PathProblems &p = path.problems;
        if (p.Total() == 0)
            return QString();
        return QStringLiteral("  描けない語 %1 (読めない %2、範囲外 %3、円弧 %4)")
            .arg(p.Total())
            .arg(p.unreadableWords)
            .arg(p.absurdValues)
            .arg(p.badArcs);
    };
    const toolpath::ToolPath &source = *work.source;
    QString text = QStringLiteral("%1 %2 区間")
                       .arg(source.PlotsXz() ? QStringLiteral("旋盤") : QStringLiteral("フライス"))
                       .arg(source.segments.size()) +
                   QStringLiteral("  ") + TimeText(source) + RefusedText(source) + problems(source);
    if (work.comparison) {
        text += QStringLiteral("  相違 元 %1 / 結果 %2 箇所")
                    .arg(work.comparison->sourcePlaces)
                    .arg(work.comparison->resultPlaces);
        if (work.comparison->resultScale != 1)
            text +=
                QStringLiteral(" (結果を %1 倍して表示・比較)").arg(work.comparison->resultScale, 0, 'g', 6);
        text += QStringLiteral("  結果 ") + TimeText(*work.result) + RefusedText(*work.result) +
                problems(*work.result);
    }
    return text;
}
