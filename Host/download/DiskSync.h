#pragma once

// Data reaches the disk before anything that relies on it is done: a buffer
// erased from the logger, a manifest that vouches for the files, a rename
// that puts them in place.

#include <QString>
#include <QStringList>

// fsync of each file, then of each folder that holds them (so that their
// names are on the disk too); the first path that failed, or empty when all
// reached the disk.
QString SyncToDisk(const QStringList& files);
// fsync of one folder: its entries (new names, renames) reach the disk.
bool SyncFolder(const QString& folder);
// rename() of a finished file over its final name: the name is never
// missing, and names either the earlier file or the new one whole.
bool ReplaceFile(const QString& from, const QString& to);
