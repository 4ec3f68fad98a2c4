#include "app/window/MainStatusBar.h"

#include "app/window/StatusPanel.h"

#include <QTimer>

namespace {

// The window system reports a key change a moment after the key; a quarter second keeps the indicators
// and the clock current without measurable cost.
constexpr int PollMilliseconds = 250;
constexpr int TwipsPerInch = 1440;
constexpr int TextPanelMinimumTwips = 2540;

} // namespace

MainStatusBar::MainStatusBar(StatusBarSources sources, QWidget *parent)
    : QStatusBar(parent), m_sources(std::move(sources)), m_clock(new QTimer(this))
{
    setObjectName("sbStatusBar");
    m_panels = {
        AddPanel(1, "", "", ""),
        AddPanel(2, "Insrt Key", "INSRT", "インサートキー"),
        AddPanel(3, "Caps Lock", "CAPS", "CAPS LOCKの切り替え"),
        AddPanel(4, "Num Lock", "NUM", "NUM LOCKの切り替え"),
        AddPanel(5, "", "", "日付の表示"),
        AddPanel(6, "", "", "時間表示"),
    };
    // The text panel springs: its width (12779 twips in a window wide enough) is the room the other panels
    // leave, but never less than its minimum.
    const std::array<int, PanelCount> widthTwips = {TextPanelMinimumTwips, 1411, 1411, 1411, 2064, 1032};
    for (int i = 0; i < PanelCount; ++i) {
        if (i == 0)
            m_panels[i]->setMinimumWidth(PixelsOfTwips(widthTwips[i]));
        else
            m_panels[i]->setFixedWidth(PixelsOfTwips(widthTwips[i]));
        addPermanentWidget(m_panels[i], i == 0 ? 1 : 0);
    }
    for (int i = 1; i <= 3; ++i)
        m_panels[i]->setAlignment(Qt::AlignCenter);
    Refresh();
    connect(m_clock, &QTimer::timeout, this, &MainStatusBar::Refresh);
    m_clock->start(PollMilliseconds);
}

StatusPanel *MainStatusBar::Panel(int index) const
{
    return index >= 1 && index <= PanelCount ? m_panels[index - 1] : nullptr;
}

std::optional<int> MainStatusBar::VirtualKeyOfPanel(const QString &key)
{
    if (key == "Insrt Key")
        return InsertKey;
    if (key == "Caps Lock")
        return CapsLockKey;
    if (key == "Num Lock")
        return NumLockKey;
    return std::nullopt;
}

void MainStatusBar::Refresh()
{
    const std::optional<LockIndicators> locks = m_sources.Locks ? m_sources.Locks() : std::nullopt;
    m_panels[1]->SetLit(m_sources.InsertKeyOn && m_sources.InsertKeyOn());
    m_panels[2]->SetLit(locks.has_value() && locks->CapsLock);
    m_panels[3]->SetLit(locks.has_value() && locks->NumLock);
    const QDateTime now = m_sources.Now();
    m_panels[4]->setText(now.toString("yyyy/MM/dd"));
    m_panels[5]->setText(now.toString("H:mm"));
}

StatusPanel *MainStatusBar::AddPanel(int index, const QString &key, const QString &text,
                                     const QString &toolTip)
{
    auto *panel = new StatusPanel(key, toolTip, this);
    panel->setObjectName(QString("sbStatusBar_Panel%1").arg(index));
    panel->setText(text);
    connect(panel, &StatusPanel::Clicked, this, &MainStatusBar::sbStatusBar_PanelClick);
    return panel;
}

int MainStatusBar::PixelsOfTwips(int twips) const
{
    return qRound(twips * logicalDpiX() / double(TwipsPerInch));
}

void MainStatusBar::sbStatusBar_PanelClick(StatusPanel *panel)
{
    const std::optional<int> virtualKey = VirtualKeyOfPanel(panel->Key());
    if (virtualKey.has_value() && m_sources.PressKey)
        m_sources.PressKey(*virtualKey);
}
