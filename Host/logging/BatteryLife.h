#pragma once

// Seconds of logging left in a battery of this voltage: with x = volts - 11.0,
// days = 3.37 x² + 1.5 x, limited to 0 … 14 days; none below 11.0 V.
double BatteryLifeSeconds(double volts);
