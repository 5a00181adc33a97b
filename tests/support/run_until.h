#pragma once

#include <QEventLoop>
#include <QTimer>

namespace glintdeck {

// Runs the event loop until `done` holds; the timer only ends a test that would hang.
template <typename Done>
bool runUntil(Done done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

}  // namespace glintdeck
