#include "ReferenceLevel.h"

#include <cmath>

qint32 ReferenceLevel(const QList<qint16>& readings) {
    qint32 sum = 0;
    int taken = 0;
    for (qint16 reading : readings) {
        // A failed reading would drag a good level down (four of 94.0 dB and a
        // failure would make 75.2 dB), so it is left out.
        if (reading < 0)
            continue;
        sum += reading;
        ++taken;
    }
    return taken == 0 ? -1 : qint32(std::lround(double(sum) / taken));
}

QString ReferenceLevelText(qint32 tenths) {
    return QString::number(tenths / 10.0, 'f', 1) + "dB.";
}
