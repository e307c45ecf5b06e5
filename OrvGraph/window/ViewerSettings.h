#pragma once

#include <QRect>
#include <QString>

// The graph library's settings: application "Orv", section "Viewer". Every key
// and default lives here. Values that do not parse take their defaults.
namespace ViewerSettings {

inline const QString kApplication = QStringLiteral("Orv");
inline const QString kSection = QStringLiteral("Viewer");
inline const QString kLeft = QStringLiteral("Left");
inline const QString kTop = QStringLiteral("Top");
inline const QString kWidth = QStringLiteral("Width");
inline const QString kHeight = QStringLiteral("Height");
inline const QString kPath = QStringLiteral("Path");

constexpr int kDefaultLeft = 0;
constexpr int kDefaultTop = 0;
constexpr int kDefaultWidth = 9135;
constexpr int kDefaultHeight = 6540;
// The folder the open dialog started in before any file was opened.
inline const QString kDefaultPath = QStringLiteral("C:\\");

// The viewer window's placement, in twips.
QRect readPlacement();
void writePlacement(const QRect& twips);

// The folder to start the open dialog in: the stored "Path" when it names an
// existing folder, otherwise the user's home folder (which also stands for the
// old default "C:\").
QString readOpenFolder();
void writeOpenFolder(const QString& folder);

} // namespace ViewerSettings
