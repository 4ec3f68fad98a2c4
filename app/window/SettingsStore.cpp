#include "app/window/SettingsStore.h"

#include "machine/TableFile.h"

#include "nc/NcNumber.h"

#include <QSettings>
#include <cmath>

namespace {

const QString Organisation = QStringLiteral("Brindlewick");
const QString Group = QStringLiteral("Settings");

float ReadPlacement(const QSettings &settings, const QString &key, float fallback)
{
    const QString text = settings.value(key).toString();
    if (!nc::ReadsWhollyAsNumber(text))
        return fallback;
    const float value = float(nc::ValueOfText(text));
    return std::isfinite(value) ? value : fallback;
}

QString ReadText(const QSettings &settings, const QString &key, const QString &fallback)
{
    const QVariant value = settings.value(key);
    return value.isValid() ? value.toString() : fallback;
}

// Decimal text without the number text's leading blank: "1000", "-15", "1012.5".
QString PlacementText(float value)
{
    return nc::PlainTextSingle(value).trimmed();
}

} // namespace

SettingsStore::SettingsStore(QString iniFile) : m_iniFile(std::move(iniFile)) {}

QString SettingsStore::DefaultMachineFileName()
{
    return DefaultTableFileName();
}

std::unique_ptr<QSettings> SettingsStore::Open() const
{
    auto settings = m_iniFile.isEmpty() ? std::make_unique<QSettings>(Organisation, Organisation)
                                        : std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
    settings->beginGroup(Group);
    return settings;
}

StoredSettings SettingsStore::Read(const QString &applicationFolder) const
{
    const auto settings = Open();
    StoredSettings stored;
    stored.MainLeft = ReadPlacement(*settings, QStringLiteral("MainLeft"), stored.MainLeft);
    stored.MainTop = ReadPlacement(*settings, QStringLiteral("MainTop"), stored.MainTop);
    stored.MainWidth = ReadPlacement(*settings, QStringLiteral("MainWidth"), stored.MainWidth);
    stored.MainHeight = ReadPlacement(*settings, QStringLiteral("MainHeight"), stored.MainHeight);
    stored.OpenPathName = ReadText(*settings, QStringLiteral("OpenPathName"), applicationFolder);
    stored.MachinePath = ReadText(*settings, QStringLiteral("MachinePath"), applicationFolder);
    stored.MachineFileName = ReadText(*settings, QStringLiteral("MachineFileName"), DefaultMachineFileName());
    return stored;
}

void SettingsStore::WritePlacement(float left, float top, float width, float height)
{
    const auto settings = Open();
    settings->setValue(QStringLiteral("MainLeft"), PlacementText(left));
    settings->setValue(QStringLiteral("MainTop"), PlacementText(top));
    settings->setValue(QStringLiteral("MainWidth"), PlacementText(width));
    settings->setValue(QStringLiteral("MainHeight"), PlacementText(height));
}

void SettingsStore::WritePaths(const QString &openPath, const QString &machinePath,
                               const QString &machineFileName)
{
    const auto settings = Open();
    settings->setValue(QStringLiteral("OpenPathName"), openPath);
    settings->setValue(QStringLiteral("MachinePath"), machinePath);
    settings->setValue(QStringLiteral("MachineFileName"), machineFileName);
}
