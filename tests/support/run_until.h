#pragma once

#include <QEventLoop>
#include <QTimer>

namespace glintdeck {

// Runs the event loop until `done` holds; the timer only ends a test that would hang, or, given a
// shorter limit, lets a test see that nothing more arrives.
template <typename Done>
bool runUntil(Done done, int limitMs = 10000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

}  // namespace glintdeck
