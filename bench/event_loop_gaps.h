#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

/// The longest gap between ticks of a 5 ms timer with nothing else running, over `ms`
/// milliseconds: what the machine itself allows an event loop.
inline double idleGapMs(int ms) {
    QElapsedTimer sinceTick;
    double longest = 0.0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QTimer::singleShot(ms, [] { QCoreApplication::quit(); });
    sinceTick.start();
    tick.start();
    QCoreApplication::exec();
    return longest;
}
