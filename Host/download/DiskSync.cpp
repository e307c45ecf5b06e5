#include "DiskSync.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool SyncPath(const QString& path, int flags) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && synced;
}

} // namespace

bool SyncFolder(const QString& folder) {
    return SyncPath(folder, O_RDONLY | O_DIRECTORY);
}

QString SyncToDisk(const QStringList& files) {
    QStringList folders;
    for (const QString& path : files) {
        if (!SyncPath(path, O_RDONLY))
            return path;
        const QString folder = QFileInfo(path).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    for (const QString& folder : std::as_const(folders))
        if (!SyncFolder(folder))
            return folder;
    return {};
}

bool ReplaceFile(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
