#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

// Window measures are given in twips (1440 to the inch): 15 twips a pixel on
// a 96 dpi screen. The screen's logical dpi decides, so the layout scales with
// the desktop's font scaling.
namespace Twips {

constexpr double PerInch = 1440.0;

inline double LogicalDpi(const QWidget* widget) {
    if (widget)
        return widget->logicalDpiX();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchX();
    return 96.0;
}

inline int ToPixels(int twips, const QWidget* widget = nullptr) {
    return int(std::lround(twips * LogicalDpi(widget) / PerInch));
}

inline int FromPixels(int pixels, const QWidget* widget = nullptr) {
    return int(std::lround(pixels * PerInch / LogicalDpi(widget)));
}

} // namespace Twips
