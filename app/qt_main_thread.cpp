#include "app/qt_main_thread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace glintdeck {

void QtMainThread::post(Task task) {
    // instance() is read on the posting thread; the application object lives until after the
    // executor has been joined, so a sampler thread never races its destruction.
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return;
    QMetaObject::invokeMethod(application, std::move(task), Qt::QueuedConnection);
}

}  // namespace glintdeck
