#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Twips {

namespace {
double dotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0.0 ? dpi : 96.0;
}
} // namespace

int toPixels(int twips) {
    return int(std::lround(twips * dotsPerInch() / kPerInch));
}

int fromPixels(int pixels) {
    return int(std::lround(pixels * kPerInch / dotsPerInch()));
}

QSize toPixels(QSize twips) {
    return {toPixels(twips.width()), toPixels(twips.height())};
}

QPoint toPixels(QPoint twips) {
    return {toPixels(twips.x()), toPixels(twips.y())};
}

} // namespace Twips
