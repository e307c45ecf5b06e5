#include "BatteryLife.h"

#include <algorithm>

double BatteryLifeSeconds(double volts) {
    const double x = volts - 11.0;
    if (x < 0)
        return 0; // the curve turns up again below 10.78 V: a flat battery has no life left
    const double days = std::clamp(3.37 * x * x + 1.5 * x, 0.0, 14.0);
    return days * 24 * 60 * 60;
}
