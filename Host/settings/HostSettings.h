#pragma once

#include <QString>
#include <QVariant>

// The host's settings store: application "OrvType1", one INI file per user
// ($XDG_CONFIG_HOME/OrvType1/OrvType1.ini). Sections and keys live here only.
namespace HostSettings {

constexpr auto Main = "Main";
constexpr auto Comms = "Comms";
constexpr auto Modem = "Modem";
constexpr auto Confirm = "Confirm";
constexpr auto SettingCurrent = "SettingCurrent";
constexpr auto Download = "Download";
constexpr auto SysCal = "SysCal";   // system calibration, also the factory one
constexpr auto TempCal = "TempCal"; // temperature calibration

// Keys, by section.
namespace Key {
constexpr auto Left = "Left"; // Main: window place in twips
constexpr auto Top = "Top";
constexpr auto Port = "Port"; // Comms
constexpr auto Baud = "Baud";
constexpr auto Method = "Method";
inline QString Device(int port) { // Comms: the device behind port n
    return "Device" + QString::number(port);
}
inline QString Number(int slot) { // Modem: telephone number slots 1 to 4
    return "Number" + QString::number(slot);
}
constexpr auto Initialisation = "Initialisation"; // Modem
constexpr auto Cancel = "Cancel";                 // Confirm: the notice options
constexpr auto Unlink = "Unlink";
constexpr auto Notify = "Notify";
constexpr auto CommsNotice = "Comms";
constexpr auto Frequency = "Frequency"; // SettingCurrent and the presets
constexpr auto Path = "Path";           // Download: the folder of the last data files
constexpr auto Reference = "Reference"; // SysCal, TempCal: the value last calibrated against
} // namespace Key

QString Read(const QString& section, const QString& key, const QString& defaultValue);
void Write(const QString& section, const QString& key, const QVariant& value);
void Remove(const QString& section, const QString& key);

// A whole number within lower..upper; text that does not parse, or a value
// outside the range, takes the default.
int ReadInt(const QString& section, const QString& key, int defaultValue, int lower, int upper);
// "True"/"False" in any letter case; anything else takes the default.
bool ReadBool(const QString& section, const QString& key, bool defaultValue);
void WriteBool(const QString& section, const QString& key, bool value);

// The rates of the baud-rate menu, fastest first.
constexpr qint32 BaudRates[] = {19200, 9600, 4800, 2400, 1200};
bool IsMenuBaudRate(qint32 baud);

// The link the operator chose ("Comms"): port 1 to 4 (default 2), a baud rate
// of the menu (default 19200), method 1 direct or 2 modem (default 1).
struct CommsChoice {
    qint16 port = 2;
    qint32 baud = 19200;
    qint16 method = 1;
};
CommsChoice ReadCommsChoice();

} // namespace HostSettings
