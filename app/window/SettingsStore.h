#pragma once

#include <QString>
#include <memory>

class QSettings;

// The values the editor keeps between runs, as read at start-up.
struct StoredSettings
{
    // Outer bounds of the main window in twips.
    float MainLeft = 1000;
    float MainTop = 1000;
    float MainWidth = 12000;
    float MainHeight = 10000;
    QString OpenPathName;
    QString MachinePath;
    QString MachineFileName;
};

// The per-user settings store: organisation and application "Brindlewick", group "Settings", every
// value a text. Given a file, an INI file there is used instead (tests).
class SettingsStore
{
public:
    explicit SettingsStore(QString iniFile = {});

    // Absent values (and placement values that are no number) take their defaults; both folders default
    // to the application's folder.
    StoredSettings Read(const QString &applicationFolder) const;
    void WritePlacement(float left, float top, float width, float height);
    void WritePaths(const QString &openPath, const QString &machinePath, const QString &machineFileName);

    static QString DefaultMachineFileName();

private:
    std::unique_ptr<QSettings> Open() const;

    QString m_iniFile;
};
