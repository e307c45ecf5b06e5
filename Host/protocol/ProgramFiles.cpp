#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

QString Installed(const char* relativeFolder, const QString& name) {
    return QDir::cleanPath(ProgramFolder() + '/' + QLatin1String(relativeFolder) + '/' + name);
}

} // namespace

QString PluginPath(const QString& name) {
    const QString beside = ProgramFolder() + '/' + name;
    return QFileInfo::exists(beside + ".so") ? beside : Installed(HUSHMARK_PLUGIN_FOLDER, name);
}

QString HelpPagesFolder() {
    const QString beside = ProgramFolder() + "/help";
    return QFileInfo(beside).isDir() ? beside : Installed(HUSHMARK_HELP_FOLDER, QString());
}
