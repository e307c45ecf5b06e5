#pragma once

#include <QPoint>
#include <QSize>

// Window sizes and positions are stored in twips (1/1440 inch), as the viewer
// always kept them: 15 twips per pixel on a 96 dpi screen. The one conversion,
// at the primary screen's logical resolution.
namespace Twips {

constexpr int kPerInch = 1440;

int toPixels(int twips);
int fromPixels(int pixels);
QSize toPixels(QSize twips);
QPoint toPixels(QPoint twips);

} // namespace Twips
