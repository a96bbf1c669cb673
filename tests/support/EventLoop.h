#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace testenv {

// Runs the event loop until `done` holds or a generous bound passes; returns `done`.
// The bound only keeps a broken test from hanging: no test relies on it.
inline bool processEventsUntil(const std::function<bool()>& done, int boundMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < boundMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

// Lets deferred deletions and queued calls run.
inline void flushEvents() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace testenv
