#include "app/qt_main_thread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace glintdeck {

QtMainThread::QtMainThread()
    : tasks_([this] {
          // instance() is read on the posting thread; the application object lives until after
          // the executor has been joined, so a sampler thread never races its destruction.
          QCoreApplication* application = QCoreApplication::instance();
          if (!application) return false;
          QMetaObject::invokeMethod(
              application, [this] { tasks_.runPending(); }, Qt::QueuedConnection);
          return true;
      }) {}

}  // namespace glintdeck
