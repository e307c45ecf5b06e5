#include "GraphData.h"

#include <array>

QRgb paletteColour(qsizetype index) {
    static constexpr std::array<QRgb, 16> palette = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255)};
    return palette[size_t(index % qsizetype(palette.size()))];
}

void applyDefaultStyles(GraphData& data) {
    for (qsizetype i = 0; i < data.sets.size(); ++i) {
        DataSet& set = data.sets[i];
        set.shown = true;
        set.colour = paletteColour(i);
        set.style = 0;
        set.weight = 1;
    }
}
