#include "app/qt_main_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

namespace glintdeck {
namespace {

// The samplers that fall due together deliver one after another over a millisecond or so. The
// loop, woken by the first, gathers the rest before it runs them: one timer instead of a wakeup
// (three system calls) for every sample.
constexpr int kGatherMs = 4;

}  // namespace

QtMainThread::QtMainThread()
    : tasks_([this] {
          // instance() is read on the posting thread; the application object lives until after
          // the executor has been joined, so a sampler thread never races its destruction.
          QCoreApplication* application = QCoreApplication::instance();
          if (!application) return false;
          QMetaObject::invokeMethod(
              application,
              [this, application] {
                  QTimer::singleShot(kGatherMs, Qt::PreciseTimer, application,
                                     [this] { tasks_.runPending(); });
              },
              Qt::QueuedConnection);
          return true;
      }) {}

}  // namespace glintdeck
