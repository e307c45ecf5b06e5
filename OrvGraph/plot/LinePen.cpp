#include "LinePen.h"

#include <algorithm>

QPen linePen(const QColor& colour, int width, int style) {
    static constexpr Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine};
    QPen pen(colour);
    pen.setWidth(width);
    pen.setCosmetic(true);
    pen.setStyle(styles[std::clamp(style, 0, 4)]);
    return pen;
}

QPen dataSetPen(const DataSet& set) {
    return linePen(QColor(set.colour), std::clamp(set.weight, 1, 5), set.style);
}
