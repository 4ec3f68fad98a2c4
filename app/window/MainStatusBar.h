#pragma once

#include "app/window/LockIndicators.h"

#include <QDateTime>
#include <QStatusBar>

#include <array>
#include <functional>
#include <optional>

class QTimer;
class StatusPanel;

// Where the status bar gets what it shows, and how it presses a key; replaceable in tests.
struct StatusBarSources
{
    // Whether the Insert key is toggled on: the source pane's overwrite mode, which the Insert key toggles.
    std::function<bool()> InsertKeyOn;
    // Caps Lock and Num Lock as the window system reports them; nothing when it cannot tell.
    std::function<std::optional<LockIndicators>()> Locks = ReadLockIndicators;
    // One press and release of a Windows virtual-key code, through the keyboard-locks layer.
    std::function<void(int)> PressKey;
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
};

// `sbStatusBar`: an empty text panel, the INSRT, CAPS and NUM indicators, the date and the time. A click on
// an indicator presses its key; the indicators follow the key state as it is reported, polled together
// with the clock.
class MainStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 6;
    static constexpr int InsertKey = 45;   // VK_INSERT
    static constexpr int CapsLockKey = 20; // VK_CAPITAL
    static constexpr int NumLockKey = 144; // VK_NUMLOCK

    MainStatusBar(StatusBarSources sources, QWidget *parent);

    // Panel 1 to 6.
    StatusPanel *Panel(int index) const;
    // The virtual key a click on a panel with this key presses, if any.
    static std::optional<int> VirtualKeyOfPanel(const QString &key);
    // Reads the key states and the clock now.
    void Refresh();

private:
    StatusPanel *AddPanel(int index, const QString &key, const QString &text, const QString &toolTip);
    int PixelsOfTwips(int twips) const;
    void sbStatusBar_PanelClick(StatusPanel *panel);

    StatusBarSources m_sources;
    std::array<StatusPanel *, PanelCount> m_panels{};
    QTimer *m_clock;
};
