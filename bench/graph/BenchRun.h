#pragma once

// What the graph benchmarks share: the timing of a piece of work, and the
// folder their files go to.

#include <QDir>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <functional>

// The fastest of several runs, in milliseconds.
inline double bestOf(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// The folder given after --keep (made when missing), so that the files stay
// for a look; otherwise fallback, a temporary folder.
inline QDir KeptFolder(const QStringList& arguments, const QDir& fallback) {
    const qsizetype keepAt = arguments.indexOf(QStringLiteral("--keep"));
    if (keepAt <= 0 || keepAt + 1 >= arguments.size())
        return fallback;
    QDir folder(arguments[keepAt + 1]);
    folder.mkpath(QStringLiteral("."));
    return folder;
}
