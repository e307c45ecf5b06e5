#include "ViewerSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace ViewerSettings {

namespace {

// The settings file of application "Orv", opened on section "Viewer".
class ViewerSection : public QSettings {
public:
    ViewerSection()
        : QSettings(QSettings::IniFormat, QSettings::UserScope, kApplication, kApplication) {
        beginGroup(kSection);
    }
};

int readInteger(QSettings& settings, const QString& key, int fallback) {
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

QRect readPlacement() {
    ViewerSection settings;
    return {readInteger(settings, kLeft, kDefaultLeft), readInteger(settings, kTop, kDefaultTop),
            readInteger(settings, kWidth, kDefaultWidth),
            readInteger(settings, kHeight, kDefaultHeight)};
}

void writePlacement(const QRect& twips) {
    ViewerSection settings;
    settings.setValue(kLeft, QString::number(twips.x()));
    settings.setValue(kTop, QString::number(twips.y()));
    settings.setValue(kWidth, QString::number(twips.width()));
    settings.setValue(kHeight, QString::number(twips.height()));
}

QString readOpenFolder() {
    ViewerSection settings;
    const QString path = settings.value(kPath, kDefaultPath).toString();
    if (path.isEmpty() || path == kDefaultPath || !QFileInfo(path).isDir())
        return QDir::homePath();
    return path;
}

void writeOpenFolder(const QString& folder) {
    ViewerSection settings;
    settings.setValue(kPath, folder);
}

} // namespace ViewerSettings
