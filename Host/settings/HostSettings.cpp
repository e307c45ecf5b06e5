#include "HostSettings.h"

#include <QSettings>

#include <algorithm>

namespace HostSettings {

namespace {
QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
}
QString Path(const QString& section, const QString& key) {
    return section + '/' + key;
}
} // namespace

QString Read(const QString& section, const QString& key, const QString& defaultValue) {
    return Store().value(Path(section, key), defaultValue).toString();
}

void Write(const QString& section, const QString& key, const QVariant& value) {
    QSettings store = Store();
    store.setValue(Path(section, key), value.toString());
}

void Remove(const QString& section, const QString& key) {
    QSettings store = Store();
    store.remove(Path(section, key));
}

int ReadInt(const QString& section, const QString& key, int defaultValue, int lower, int upper) {
    bool ok = false;
    const int value = Read(section, key, QString()).trimmed().toInt(&ok);
    return ok && value >= lower && value <= upper ? value : defaultValue;
}

bool ReadBool(const QString& section, const QString& key, bool defaultValue) {
    const QString text = Read(section, key, QString()).trimmed().toLower();
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return defaultValue;
}

void WriteBool(const QString& section, const QString& key, bool value) {
    Write(section, key, value ? "True" : "False");
}

bool IsMenuBaudRate(qint32 baud) {
    return std::find(std::begin(BaudRates), std::end(BaudRates), baud) != std::end(BaudRates);
}

CommsChoice ReadCommsChoice() {
    const CommsChoice defaults;
    CommsChoice choice;
    choice.port = qint16(ReadInt(Comms, Key::Port, defaults.port, 1, 4));
    choice.baud = ReadInt(Comms, Key::Baud, defaults.baud, 1200, 19200);
    // Only the rates of the baud menu: anything else was not chosen there.
    if (!IsMenuBaudRate(choice.baud))
        choice.baud = defaults.baud;
    choice.method = qint16(ReadInt(Comms, Key::Method, defaults.method, 1, 2));
    return choice;
}

} // namespace HostSettings
