#include "platform/linux/proc_process_table.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>

#include "platform/linux/system_clock.h"
#include "samplers/process_naming.h"
#include "samplers/top_process_aggregator.h"
#include "tests/support/fixtures.h"
#include "tests/support/manual_clock.h"
#include "tests/support/scratch_folder.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

constexpr ProcProcessTable::Units kUnits{.ticksPerSecond = 100, .pageSize = 4096};

// Makes `to` hold what `from` holds. Files that stay are rewritten in place, so a descriptor
// kept open sees the new text, as it sees a process's new counters in /proc.
void mirror(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::directory_iterator(to)) {
        if (!fs::exists(fs::symlink_status(from / entry.path().filename()))) {
            fs::remove_all(entry.path());
        }
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        fs::path target = to / entry.path().filename();
        if (entry.is_symlink()) {
            fs::remove(target);
            fs::copy_symlink(entry.path(), target);
        } else if (entry.is_directory()) {
            mirror(entry.path(), target);
        } else {
            if (fs::is_symlink(target)) fs::remove(target);
            std::ifstream in(entry.path(), std::ios::binary);
            std::ofstream(target, std::ios::binary | std::ios::trunc) << in.rdbuf();
        }
    }
}

// Turns the scratch root's proc/ into a fixture's.
void become(const ScratchFolder& root, const std::string& fixture) {
    mirror(fs::path(fixtureRoot(fixture)) / "proc", root.path() / "proc");
}

size_t openDescriptors() {
    return static_cast<size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

struct Expected {
    double cpuPercent;
    double memoryBytes;
    std::string command;
    uint64_t startTime;
    std::string executable;
};

TEST(ProcProcessTableTest, MeasuresEachProcessAgainstThePreviousScan) {
    // Two seconds at 100 ticks per second: one tick is 0.5 %.
    const std::map<int32_t, Expected> expected = {
        {1, {1.0, 3000 * 4096.0, "systemd", 5, "/usr/lib/systemd/systemd"}},
        {2, {0, 0, "kthreadd", 5, ""}},  // a kernel thread has no executable
        {45, {2.0, 0, "kworker/0:1-events", 10, ""}},
        {300, {200.0, 2500 * 4096.0, "my (odd) name", 8000, ""}},  // busy on two cores
        {410, {30.0, 100000 * 4096.0, "firefox", 9000, "/usr/lib/firefox/firefox"}},
        {411, {25.0, 60000 * 4096.0, "Isolated Web Co", 9100, "/usr/lib/firefox/firefox"}},
        // pid 500 reused: the new process's own 20 ticks, not a difference with the old one's
        {500, {10.0, 400 * 4096.0, "new-job", 199500, "/usr/bin/new-job"}},
        // another user's process: the link does not read
        {700, {5.0, 50000 * 4096.0, "postgres", 3000, ""}},
        {800, {0, 1000 * 4096.0, "daemon-x", 4000, "/usr/lib/upgraded/daemon-x"}},  // replaced
        // started since: all its time counts
        {900, {15.0, 300 * 4096.0, "make", 199800, "/usr/bin/make"}},
        // 620 is listed without a stat file (gone before it was read); 950 has ended
    };
    struct Row {
        size_t limit;
        size_t heldWhileScanning;  // stat files kept, plus the /proc directory
    };
    // Kept files or reopened ones, the readings are the same; ten processes have a stat file in
    // either fixture.
    for (const Row& row : {Row{512, 11}, Row{3, 4}, Row{0, 1}}) {
        SCOPED_TRACE(row.limit);
        ScratchFolder root;
        auto clock = std::make_shared<ManualClock>();
        ProcProcessTable table(root.root(), clock, kUnits, row.limit);
        std::vector<ProcessRow> rows;
        const size_t before = openDescriptors();
        become(root, "process-churn/before");
        EXPECT_EQ(table.scan(rows), ScanResult::baseline);
        EXPECT_EQ(openDescriptors() - before, row.heldWhileScanning);
        become(root, "process-churn/after");
        clock->now += 2;
        ASSERT_EQ(table.scan(rows), ScanResult::measured);
        EXPECT_EQ(openDescriptors() - before, row.heldWhileScanning)
            << "files of ended processes are closed";
        ASSERT_EQ(rows.size(), expected.size());
        for (const ProcessRow& got : rows) {
            const Expected& want = expected.at(got.id.pid);
            EXPECT_DOUBLE_EQ(got.cpuPercent, want.cpuPercent) << got.id.pid;
            EXPECT_EQ(got.memoryBytes, want.memoryBytes) << got.id.pid;
            EXPECT_EQ(got.command, want.command) << got.id.pid;
            EXPECT_EQ(got.id.startTime, want.startTime) << got.id.pid;
            EXPECT_EQ(table.executablePath(got), want.executable) << got.id.pid;
        }
        table.reset();
        EXPECT_EQ(openDescriptors(), before) << "nothing held after reset";
    }
}

double processorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

TEST(ProcProcessTableTest, ThisBusyProcessShowsInTheLiveCPUList) {
    ProcProcessTable table("/", std::make_shared<SystemClock>());
    std::vector<ProcessRow> rows;
    EXPECT_EQ(table.scan(rows), ScanResult::baseline);
    // Spin until this process has used 100 ms of processor time since the baseline scan.
    for (const double start = processorSeconds(); processorSeconds() - start < 0.1;) {
    }
    EXPECT_EQ(table.scan(rows), ScanResult::measured);
    auto row = std::find_if(rows.begin(), rows.end(),
                            [](const ProcessRow& r) { return r.id.pid == getpid(); });
    ASSERT_NE(row, rows.end());
    EXPECT_GT(row->cpuPercent, 0);
    const std::string name = displayName(table.executablePath(*row), row->command);
    TopProcessesSample sample = TopProcessAggregator().aggregate(rows, table);
    EXPECT_TRUE(std::any_of(sample.byCPU.begin(), sample.byCPU.end(),
                            [&](const ProcStat& s) { return s.name == name; }))
        << name << " missing from the CPU list";
}

TEST(DescriptorLimitTest, KeptFilesLeaveAMarginAndStayBelowTheCap) {
    for (const auto& [descriptorLimit, kept] : std::vector<std::pair<uint64_t, size_t>>{
             {0, 0},
             {256, 0},        // nothing to spare: every file is reopened
             {300, 44},       // the least margin
             {1024, 768},     // the usual soft limit, where raising it failed
             {20000, 15000},  // a quarter left for the rest of the program
             {32768, 16384},  // what raiseDescriptorLimit() asks for
             {std::numeric_limits<uint64_t>::max(), 16384},  // unlimited
         }) {
        EXPECT_EQ(keptFileLimitFor(descriptorLimit), kept) << descriptorLimit;
    }
}

// Two programs whose names share their first 15 bytes, all the kernel keeps of a command, and
// that exec each other: the second kept the first's name, since the command stayed the same.
TEST(ProcProcessTableTest, AProgramThatExecsAnotherOfTheSameCommandIsNamedAfterTheNewOne) {
    const ScratchFolder scratch;
    const fs::path& folder = scratch.path();
    const fs::path first = folder / "nr_longprogramname_AAAA",
                   second = folder / "nr_longprogramname_BBBB";
    fs::copy_file("/bin/sh", first, fs::copy_options::overwrite_existing);
    fs::copy_file("/bin/sh", second, fs::copy_options::overwrite_existing);
    // Each program says on descriptor 3 that it runs, then waits for a line.
    const std::string script =
        "echo >&3; read x; exec " + second.string() + " -c 'echo >&3; read x'";
    int input[2], ready[2];
    ASSERT_EQ(pipe2(input, O_CLOEXEC) | pipe2(ready, O_CLOEXEC), 0);
    pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(input[0], STDIN_FILENO);
        dup2(ready[1], 3);
        execl(first.c_str(), first.c_str(), "-c", script.c_str(), nullptr);
        _exit(127);
    }
    close(ready[1]);
    ProcProcessTable table("/", std::make_shared<SystemClock>());
    TopProcessAggregator aggregator;
    auto shownName = [&]() -> std::string {  // the child's, in a list of it alone
        char byte;
        std::vector<ProcessRow> rows;
        if (read(ready[0], &byte, 1) != 1 || table.scan(rows) == ScanResult::unreadable) return "";
        std::erase_if(rows, [&](const ProcessRow& r) { return r.id.pid != child; });
        std::vector<ProcStat> listed = aggregator.aggregate(rows, table).byMemory;
        return listed.empty() ? "" : listed[0].name;
    };
    EXPECT_EQ(shownName(), "nr_longprogramname_AAAA");
    EXPECT_EQ(write(input[1], "\n", 1), 1);
    EXPECT_EQ(shownName(), "nr_longprogramname_BBBB");
    for (int fd : {input[0], input[1], ready[0]}) close(fd);
    waitpid(child, nullptr, 0);
}

}  // namespace
}  // namespace glintdeck
