#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

namespace {

void PlaceOnScreen(QWidget* window, const QWidget* mainWindow, int left, int top) {
    const QScreen* screen = mainWindow->screen();
    if (screen) {
        const QRect area = screen->geometry();
        left = qBound(area.left(), left, qMax(area.left(), area.right() + 1 - window->width()));
        top = qBound(area.top(), top, qMax(area.top(), area.bottom() + 1 - window->height()));
    }
    window->move(left, top);
}

int CentredLeft(const QWidget* window, const QWidget* mainWindow) {
    return mainWindow->x() + (mainWindow->width() - window->width()) / 2;
}

} // namespace

void PlaceCentred(QWidget* window, const QWidget* mainWindow) {
    PlaceOnScreen(window, mainWindow, CentredLeft(window, mainWindow),
                  mainWindow->y() + (mainWindow->height() - window->height()) / 2);
}

void PlaceBottomAligned(QWidget* window, const QWidget* mainWindow) {
    PlaceOnScreen(window, mainWindow, CentredLeft(window, mainWindow),
                  mainWindow->y() + mainWindow->height() - window->height());
}
