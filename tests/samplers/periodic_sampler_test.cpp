#include "samplers/periodic_sampler.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include "tests/support/latch.h"

#include "core/task_queue_main_thread.h"
#include "samplers/thread_pool_executor.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

// A sampler whose tick runs a hook supplied by the test and whose destructor reports itself.
class HookedSampler final : public PeriodicSampler {
  public:
    struct Hooks {
        std::function<void()> tick = [] {};
        std::function<void()> prepare = [] {};
        std::function<void()> release = [] {};
        std::function<void()> destroyed = [] {};
    };
    HookedSampler(Executor& executor, double period, Hooks hooks)
        : PeriodicSampler(executor, "HookedSampler", period, period), hooks_(std::move(hooks)) {}
    ~HookedSampler() override { hooks_.destroyed(); }

  private:
    void tick() override { hooks_.tick(); }
    void prepare() override { hooks_.prepare(); }
    void release() override { hooks_.release(); }

    Hooks hooks_;
};

// Construction schedules nothing and start() does no platform work on the calling thread: the
// queue prepares before the first tick of every start and releases after the last.
TEST(PeriodicSamplerTest, FirstTickAtOnceThenEveryPeriodPreparedAndReleasedOnItsQueue) {
    ManualExecutor executor;
    std::vector<std::string> events;
    auto note = [&](const char* event) { return [&events, event] { events.push_back(event); }; };
    auto sampler = std::make_shared<HookedSampler>(
        executor, 2.0,
        HookedSampler::Hooks{
            .tick = note("tick"), .prepare = note("prepare"), .release = note("release")});
    EXPECT_EQ(executor.queueLabels(), std::vector<std::string>{"Glintdeck.HookedSampler"});
    executor.runUntilIdle();
    sampler->start();
    EXPECT_TRUE(events.empty());
    executor.runUntilIdle();
    executor.advance(1.9);
    EXPECT_EQ(events.size(), 2u);
    executor.advance(0.1);
    executor.advance(4.0);
    sampler->stop();
    EXPECT_EQ(events.back(), "tick") << "release waits for the queue";
    executor.advance(60);
    sampler->start();
    executor.runUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"prepare", "tick", "tick", "tick", "tick",
                                                "release", "prepare", "tick"}));
}

TEST(PeriodicSamplerTest, StopDoesNotWaitForATickInFlightWhichStillDelivers) {
    ThreadPoolExecutor executor;
    Latch tickEntered(1), releaseTick(1), delivered(1);
    std::atomic<int> ticks = 0;
    auto sampler =
        std::make_shared<HookedSampler>(executor, 3600, HookedSampler::Hooks{.tick = [&] {
                                            ++ticks;
                                            tickEntered.countDown();
                                            releaseTick.wait();
                                            delivered.countDown();
                                        }});
    sampler->start();
    tickEntered.wait();

    sampler->stop();  // returns while the tick is still held
    EXPECT_EQ(ticks, 1);
    releaseTick.countDown();
    delivered.wait();
    executor.shutdown();
    EXPECT_EQ(ticks, 1);
}

TEST(PeriodicSamplerTest, LastReferenceDroppedDuringItsOwnTickIsReleasedOnTheWorker) {
    ThreadPoolExecutor executor;
    Latch handedOver(1), destroyed(1);
    std::shared_ptr<PeriodicSampler> owner;
    std::atomic<bool> destroyedOnMainThread = true;
    const auto mainThread = std::this_thread::get_id();
    auto sampler = std::make_shared<HookedSampler>(
        executor, 3600,
        HookedSampler::Hooks{
            .tick =
                [&] {
                    handedOver.wait();
                    owner.reset();  // the tick's own strong hold now keeps it alive
                },
            .destroyed =
                [&] {
                    destroyedOnMainThread = std::this_thread::get_id() == mainThread;
                    destroyed.countDown();
                }});
    sampler->start();
    owner = std::move(sampler);
    handedOver.countDown();
    destroyed.wait();
    EXPECT_FALSE(destroyedOnMainThread);
    executor.shutdown();
}

// A hand-edited preferences file can hold any number as the interval: such periods and delays
// are clamped, not undefined. Shutdown drops what waits and what is posted after it.
TEST(ThreadPoolExecutorTest, AbsurdTimesAreClampedAndShutdownDropsWhatWaits) {
    ThreadPoolExecutor executor;
    auto queue = executor.makeQueue("Glintdeck.Test");
    Latch ran(1);
    std::atomic<int> dropped = 0;
    queue->asyncAfter(3600, [&] { ++dropped; });
    auto huge = queue->scheduleRepeating(1e300, [&] { ran.countDown(); });
    ran.wait();  // the first tick still runs at once
    auto notANumber = queue->scheduleRepeating(NAN, [] {});
    queue->asyncAfter(-5, [] {});
    queue->asyncAfter(INFINITY, [&] { ++dropped; });
    executor.shutdown();
    queue->async([&] { ++dropped; });
    EXPECT_EQ(dropped, 0);
}

// The other workers must still take what waits behind a tick that never returns, and keep the
// timers firing.
TEST(ThreadPoolExecutorTest, AStuckTickHoldsBackNeitherTheTicksDueWithItNorTheTimers) {
    ThreadPoolExecutor executor(2, 0.05);  // the other worker steps in 50 ms late
    auto stuckQueue = executor.makeQueue("Glintdeck.Stuck");
    auto otherQueue = executor.makeQueue("Glintdeck.Other");
    Latch release(1);
    Latch dueTogether(1);
    Latch laterTicks(3);
    // Due within the coalescing window of each other, the stuck one first: the worker that fires
    // them takes the stuck one.
    stuckQueue->asyncAfter(0.05, [&] { release.wait(); });
    otherQueue->asyncAfter(0.05, [&] { dueTogether.countDown(); });
    dueTogether.wait();
    auto timer = otherQueue->scheduleRepeating(0.001, [&] { laterTicks.countDown(); });
    laterTicks.wait();
    release.countDown();
    executor.shutdown();
}

// Ticks deliver to the main thread in one wakeup once the worker has run them all, yet what a
// tick posted before it hung still arrives: the next worker to run out of work delivers it.
TEST(ThreadPoolExecutorTest, TicksWakeTheMainThreadOnceAfterTheLastAndNeverBehindAStuckOne) {
    // One worker: a second one waking now and then would flush early.
    ThreadPoolExecutor executor(1);
    std::atomic<int> wakes = 0;
    std::atomic<int> posted = 0;
    std::atomic<int> postedAtWake = 0;
    Latch woken(1);
    TaskQueueMainThread mainThread([&] {
        ++wakes;
        postedAtWake = posted.load();
        woken.countDown();
        return true;
    });
    auto post = [&] {
        mainThread.post([] {});
        ++posted;
    };
    auto queue = executor.makeQueue("Glintdeck.Test");
    Latch firstRunning(1), releaseFirst(1);
    queue->async([&] {
        post();
        firstRunning.countDown();
        releaseFirst.wait();
    });
    firstRunning.wait();
    for (int i = 0; i < 3; ++i) queue->async(post);
    releaseFirst.countDown();
    woken.wait();
    executor.shutdown();
    EXPECT_EQ(wakes, 1);
    EXPECT_EQ(postedAtWake, 4);
    EXPECT_EQ(mainThread.runPending(), 4);

    ThreadPoolExecutor stuckExecutor;
    Latch deliveredWhileStuck(1), stuckPosted(1), release(1);
    TaskQueueMainThread stuckMainThread([&] {
        deliveredWhileStuck.countDown();
        return true;
    });
    auto stuckQueue = stuckExecutor.makeQueue("Glintdeck.Stuck");
    stuckQueue->async([&] {
        stuckMainThread.post([] {});
        stuckPosted.countDown();
        release.wait();
    });
    stuckPosted.wait();
    // Any timer wakes the other worker; it must deliver what the stuck tick posted.
    auto otherQueue = stuckExecutor.makeQueue("Glintdeck.Other");
    otherQueue->asyncAfter(0.001, [] {});
    deliveredWhileStuck.wait();  // hangs (and the suite times out) if the delivery waits
    release.countDown();
    stuckExecutor.shutdown();
}

// While nobody looks at the samples the main thread wakes for them at most once per spacing:
// what a later burst posts waits, and goes when the spacing is set again, or unprompted once the
// spacing has passed. A task posted from elsewhere meanwhile goes at once, and takes them along.
TEST(ThreadPoolExecutorTest, HeldPostsGoWhenTheSpacingIsSetOrHasPassedOrSomethingElseWakes) {
    ThreadPoolExecutor executor;
    executor.setDeliverySpacing(3600);
    std::atomic<int> wakes = 0;
    std::array<Latch, 4> woken = {Latch(1), Latch(1), Latch(1), Latch(1)};
    TaskQueueMainThread mainThread([&] {
        if (int n = ++wakes; n <= 4) woken[n - 1].countDown();
        return true;
    });
    auto queue = executor.makeQueue("Glintdeck.Test");
    auto postFromATask = [&] { queue->async([&] { mainThread.post([] {}); }); };
    auto expectHeld = [&](int wakesSoFar) {
        Latch ran(1);
        queue->async([&] { ran.countDown(); });
        ran.wait();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(wakes, wakesSoFar);
    };

    postFromATask();
    woken[0].wait();  // nothing went before it: at once
    EXPECT_EQ(mainThread.runPending(), 1);

    postFromATask();
    postFromATask();
    expectHeld(1);
    mainThread.post([] {});
    woken[1].wait();
    EXPECT_EQ(mainThread.runPending(), 3);

    postFromATask();
    expectHeld(2);
    executor.setDeliverySpacing(0.05);
    woken[2].wait();
    EXPECT_EQ(mainThread.runPending(), 1);

    postFromATask();
    woken[3].wait();  // hangs (and the suite times out) if nothing more ticking holds it forever
    EXPECT_EQ(mainThread.runPending(), 1);
    executor.shutdown();
    EXPECT_EQ(wakes, 4);
}

}  // namespace
}  // namespace glintdeck
