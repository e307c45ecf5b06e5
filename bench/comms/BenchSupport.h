#pragma once

#include "LoggerSimulator.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <string>

// Shared set-up of the link benchmarks: settings in a scratch folder (never
// the user's), a simulator with a full memory, and the raw POSIX floor.
class BenchSupport {
public:
    BenchSupport();
    // Starts the simulator with a full memory; port 1 then opens it.
    bool startSimulator(LoggerSimulator& sim, int baud);

    // The floor: count "$" exchanges (3 bytes out, 34 back) with plain
    // read/write on the device. Returns exchanges per second, or 0 on failure.
    static double rawExchangeRate(const std::string& device, int count);

private:
    QTemporaryDir m_config;
};
