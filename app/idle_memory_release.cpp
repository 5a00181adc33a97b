#include "app/idle_memory_release.h"

#include <QPixmapCache>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace glintdeck {
namespace {

// Long enough for the views' deferred deletion, and for a hide followed at once by a summon to
// skip the work.
constexpr int kDelayMs = 2000;

}  // namespace

IdleMemoryRelease::IdleMemoryRelease(std::function<bool()> anythingShown)
    : anythingShown_(std::move(anythingShown)) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &IdleMemoryRelease::release);
}

void IdleMemoryRelease::schedule() { timer_.start(); }

void IdleMemoryRelease::release() {
    if (anythingShown_()) return;
    // The tiles' and the settings window's icons; the next paint renders them again.
    QPixmapCache::clear();
#ifdef __GLIBC__
    // malloc keeps freed pages for reuse; trimming hands back those inside the heap too (the
    // settings window leaves most of its 0.8 MB there), not only the free top.
    malloc_trim(0);
#endif
}

}  // namespace glintdeck
