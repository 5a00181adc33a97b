// One top-process tick (a scan of the process table plus naming and summing) over the
// generated 500-process table and over the real /proc with idle children spawned here, each
// beside `ps -eo pid,pcpu,rss,comm` run at the same process count: the ratio is the figure to
// quote on a shared machine.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "platform/linux/proc_process_table.h"
#include "platform/linux/system_clock.h"
#include "samplers/top_process_aggregator.h"
#include "tests/support/test_paths.h"

extern char** environ;

namespace glintdeck {
namespace {

// Moves two seconds per reading, as ticks do.
class SteppingClock final : public Clock {
  public:
    double wallSeconds() const override { return 0; }
    double secondsSinceBoot() const override { return now_ += 2; }

  private:
    mutable double now_ = 0;
};

double threadCPUSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Idle `sleep` children, grown or shrunk to the count asked, killed and reaped at exit.
class IdleChildren {
  public:
    ~IdleChildren() { resize(0); }
    void resize(size_t count) {
        while (pids_.size() > count) {
            kill(pids_.back(), SIGKILL);
            waitpid(pids_.back(), nullptr, 0);
            pids_.pop_back();
        }
        while (pids_.size() < count) {
            pid_t pid = fork();
            if (pid == 0) {
                prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a crashed benchmark
                execl("/bin/sleep", "sleep", "100000", static_cast<char*>(nullptr));
                _exit(127);
            }
            if (pid < 0) break;
            pids_.push_back(pid);
        }
    }

  private:
    std::vector<pid_t> pids_;
};

IdleChildren children;

struct PsRun {
    double cpuSeconds = 0;
    double wallSeconds = 0;
};

// One run of the listing tool with its output thrown away; its own user and system time.
PsRun runPs() {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"ps", "-eo", "pid,pcpu,rss,comm", nullptr};
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    PsRun run;
    if (posix_spawnp(&pid, "ps", &actions, nullptr, const_cast<char* const*>(argv), environ) == 0) {
        rusage usage{};
        int status = 0;
        wait4(pid, &status, 0, &usage);
        auto seconds = [](timeval t) {
            return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
        };
        run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

void tickLoop(benchmark::State& state, ProcProcessTable& table) {
    std::vector<ProcessRow> rows;
    TopProcessAggregator aggregator;
    (void)table.scan(rows);  // the baseline every run starts with
    double cpuStart = threadCPUSeconds();
    for (auto _ : state) {
        (void)table.scan(rows);
        benchmark::DoNotOptimize(aggregator.aggregate(rows, table));
    }
    double tickCPU = (threadCPUSeconds() - cpuStart) / static_cast<double>(state.iterations());
    state.counters["processes"] = static_cast<double>(rows.size());
    state.counters["tick_cpu_ms"] = tickCPU * 1e3;

    constexpr int kPsRuns = 3;
    PsRun ps;
    for (int i = 0; i < kPsRuns; ++i) {
        PsRun run = runPs();
        ps.cpuSeconds += run.cpuSeconds / kPsRuns;
        ps.wallSeconds += run.wallSeconds / kPsRuns;
    }
    state.counters["ps_cpu_ms"] = ps.cpuSeconds * 1e3;
    state.counters["ps_wall_ms"] = ps.wallSeconds * 1e3;
    state.counters["tick_per_ps"] = ps.cpuSeconds > 0 ? tickCPU / ps.cpuSeconds : 0;
}

void BM_TopProcessTickDesktop500(benchmark::State& state) {
    children.resize(0);
    ProcProcessTable table(std::string(test_paths::kGeneratedFixtures) + "/desktop-500",
                           std::make_shared<SteppingClock>(),
                           ProcProcessTable::Units::ofThisSystem());
    tickLoop(state, table);
}
BENCHMARK(BM_TopProcessTickDesktop500)->Unit(benchmark::kMillisecond);

// Arguments: idle children spawned, stat files kept open (0: every file reopened each tick).
void BM_TopProcessTickLive(benchmark::State& state) {
    children.resize(static_cast<size_t>(state.range(0)));
    ProcProcessTable table("/", std::make_shared<SystemClock>(),
                           ProcProcessTable::Units::ofThisSystem(),
                           static_cast<size_t>(state.range(1)));
    tickLoop(state, table);
}
BENCHMARK(BM_TopProcessTickLive)
    ->ArgNames({"children", "kept"})
    ->Args({100, 512})
    ->Args({500, 512})
    ->Args({500, 256})  // a desktop session's usual descriptor limit of 1024 keeps 256
    ->Args({500, 0})
    ->Args({2000, 512})
    ->Args({2000, 0})
    ->Args({2000, 4096})  // every file kept, as a raised descriptor limit allows
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glintdeck
