#pragma once

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>
#include <QSize>
#include <QWidget>

#include <cmath>

// Window measures are given and stored in twips (1/1440 inch): 15 twips a pixel
// on a 96 dpi screen. The one conversion for the host and the graph viewer: at
// the logical resolution of the widget's screen when a widget is given, else
// of the primary screen, so layouts follow the desktop's font scaling.
namespace Twips {

constexpr int kPerInch = 1440;

inline double dotsPerInch(const QWidget* widget = nullptr) {
    double dpi = 0.0;
    if (widget)
        dpi = widget->logicalDpiX();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchX();
    return dpi > 0.0 ? dpi : 96.0;
}

inline int toPixels(int twips, const QWidget* widget = nullptr) {
    return int(std::lround(twips * dotsPerInch(widget) / kPerInch));
}

inline int fromPixels(int pixels, const QWidget* widget = nullptr) {
    return int(std::lround(pixels * kPerInch / dotsPerInch(widget)));
}

inline QSize toPixels(QSize twips, const QWidget* widget = nullptr) {
    return {toPixels(twips.width(), widget), toPixels(twips.height(), widget)};
}

inline QPoint toPixels(QPoint twips, const QWidget* widget = nullptr) {
    return {toPixels(twips.x(), widget), toPixels(twips.y(), widget)};
}

} // namespace Twips
