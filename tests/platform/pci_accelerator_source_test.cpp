#include "platform/linux/pci_accelerator_source.h"

#include <gtest/gtest.h>

#include "tests/support/fake_nvml_control.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/fixtures.h"
#include "tests/support/gpu_schedule.h"

namespace glintdeck {
namespace {

const std::string kNvidiaCard = "sys/bus/pci/devices/0000:01:00.0/";

// A source over one machine, with the fixture PCI ID database and the fake NVML.
struct Machine {
    explicit Machine(const std::string& root, std::string nvml = FakeNvml::path(),
                     std::string pciIds = fixtureRoot("pci-ids") + "/good.ids")
        : source(
              root, gpuSchedule(clock),
              PciAcceleratorOptions{.nvmlLibrary = std::move(nvml), .pciIds = std::move(pciIds)}) {
        source.prepare();
    }
    std::vector<PropertyTable> read() { return source.accelerators(); }
    std::vector<PropertyTable> readAt(double seconds) {
        clock->now = seconds;
        return read();
    }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    PciAcceleratorSource source;
};

std::optional<int64_t> busy(const PropertyTable& table) {
    const PropertyTable* statistics = tableAt(table, "PerformanceStatistics");
    return statistics ? integerAt(*statistics, "Device Utilization %") : std::nullopt;
}

std::string model(const PropertyTable& table) {
    const PropertyData* data = dataAt(table, "model");
    return data ? data->bytes : "";
}

// "driver, model, busy" for each card, "-" where it has no figure.
std::vector<std::string> describe(const std::vector<PropertyTable>& cards) {
    std::vector<std::string> lines;
    for (const PropertyTable& card : cards) {
        std::optional<int64_t> percent = busy(card);
        lines.push_back(*textAt(card, "IOClass") + ", " + model(card) + ", " +
                        (percent ? std::to_string(*percent) : "-"));
    }
    return lines;
}

TEST(PciAcceleratorSourceTest, ListsEachDisplayControllerWithWhatItsDriverTells) {
    using Lines = std::vector<std::string>;
    struct Row {
        const char* fixture;
        std::string nvml;
        Lines expected;
    };
    for (const Row& row : {
             // The USB controller is no display controller. The awake integrated card comes
             // first; the sleeping discrete card is idle: 0%, not the 99 its stale file holds.
             Row{"amd-two-gpus",
                 FakeNvml::path(),
                 {"amdgpu, Radeon Vega Series / Radeon Vega Mobile Series, 23",
                  "amdgpu, Radeon RX 6600/6600 XT/6600M, 0"}},
             // An Intel card without a residency counter has no figure, nor has the NVIDIA card
             // without NVML, asleep or not; the card's audio function is not a GPU.
             Row{"nvidia-optimus-laptop",
                 "/nonexistent/libnvidia-ml.so.1",
                 {"i915, Iris Xe Graphics, -", "nvidia, GeForce RTX 3050 Mobile, -"}},
             Row{"no-such-machine", FakeNvml::path(), {}},
         }) {
        EXPECT_EQ(describe(Machine(fixtureRoot(row.fixture), row.nvml).read()), row.expected)
            << row.fixture;
    }
    // Nothing but what the driver tells: its class, its model, its load.
    EXPECT_EQ(Machine(fixtureRoot("amd-two-gpus")).read().at(1),
              (PropertyTable{
                  {"IOClass", "amdgpu"},
                  {"model", PropertyData{"Radeon RX 6600/6600 XT/6600M"}},
                  {"PerformanceStatistics", PropertyTable{{"Device Utilization %", 0}}},
              }));
}

TEST(PciAcceleratorSourceTest, TheFirstAwakeCardComesFirstAndTheFirstCardWhenAllSleep) {
    FixtureTree laptop("hybrid-radeon-laptop");
    laptop.writeLine("sys/bus/pci/devices/0000:03:00.0/gpu_busy_percent", "64");
    Machine machine(laptop.root(), "/nonexistent/libnvidia-ml.so.1",
                    laptop.root() + "/usr/share/misc/pci.ids");
    struct Step {
        const char* discrete;  // runtime status; the discrete card is first on the bus
        const char* integrated;
        const char* shown;  // the card the tile shows
    };
    double second = 0;
    for (const Step& step : {
             Step{"suspended", "active", "amdgpu, Radeon 680M, 17"},  // the integrated card works
             // a game woke the discrete one
             Step{"active", "active", "amdgpu, Radeon RX 6650 XT / 6700S / 6800S, 64"},
             Step{"suspended", "suspended", "amdgpu, Radeon RX 6650 XT / 6700S / 6800S, 0"},
         }) {
        laptop.writeLine("sys/bus/pci/devices/0000:03:00.0/power/runtime_status", step.discrete);
        laptop.writeLine("sys/bus/pci/devices/0000:08:00.0/power/runtime_status", step.integrated);
        EXPECT_EQ(describe(machine.readAt(second++))[0], step.shown);
    }
}

TEST(PciAcceleratorSourceTest, IntelCardsAreBusyForTheTimeOutsideTheirIdleState) {
    struct Row {
        const char* fixture;
        const char* counter;  // milliseconds idle since boot
        int64_t start;
    };
    for (const Row& row : {
             Row{"thinkpad-i915", "drm/card1/gt/gt0/rc6_residency_ms", 48'120'033},
             Row{"lunarlake-xe", "tile0/gt0/gtidle/idle_residency_ms", 3'120'456},
         }) {
        FixtureTree laptop(row.fixture);
        const std::string card = "sys/bus/pci/devices/0000:00:02.0/";
        auto idleFor = [&](int64_t milliseconds) {
            laptop.writeLine(card + row.counter, std::to_string(row.start + milliseconds));
        };
        Machine machine(laptop.root());
        EXPECT_EQ(busy(machine.readAt(0)[0]), std::nullopt) << "a first reading is a baseline";
        idleFor(250);
        EXPECT_EQ(busy(machine.readAt(1)[0]), 75) << row.fixture;
        idleFor(1250);
        EXPECT_EQ(busy(machine.readAt(2)[0]), 0) << row.fixture;
        // Asleep: 0% without a read; its counter says nothing of the time it slept.
        laptop.writeLine(card + "power/runtime_status", "suspended");
        idleFor(90'000);
        EXPECT_EQ(busy(machine.readAt(3)[0]), 0) << row.fixture;
        laptop.writeLine(card + "power/runtime_status", "active");
        EXPECT_EQ(busy(machine.readAt(4)[0]), std::nullopt) << row.fixture;
        idleFor(90'500);
        EXPECT_EQ(busy(machine.readAt(5)[0]), 50) << row.fixture;
    }
}

TEST(PciAcceleratorSourceTest, AnIntelCounterNotSeenToMoveGivesNoFigure) {
    // RC6 disabled: the residency counter stands still, which is no proof of a busy card.
    FixtureTree laptop("thinkpad-i915");
    Machine machine(laptop.root());
    for (int second = 0; second < 3; ++second) {
        EXPECT_EQ(busy(machine.readAt(second)[0]), std::nullopt) << "second " << second;
    }
    // Read as an idle card meanwhile, once per 10 s autosuspend delay and 2 s margin.
    laptop.writeLine("sys/bus/pci/devices/0000:00:02.0/drm/card1/gt/gt0/rc6_residency_ms",
                     "48126033");
    EXPECT_EQ(busy(machine.readAt(12)[0]), std::nullopt);
    EXPECT_EQ(busy(machine.readAt(13)[0]), 50) << "6 s idle in the 12 s since the last read";
    EXPECT_EQ(busy(machine.readAt(14)[0]), 100) << "a counter known to work: truly busy";
}

TEST(PciAcceleratorSourceTest, NvmlIsNotEvenInitialisedWhileTheNvidiaCardSleeps) {
    FakeNvml fake;
    fake.addDevice("0000:01:00.0", "NVIDIA GeForce RTX 3050 Laptop GPU", 37);
    FixtureTree tree("nvidia-optimus-laptop");
    Machine machine(tree.root());
    for (int second = 0; second < 3; ++second) {
        EXPECT_EQ(describe(machine.readAt(second))[1], "nvidia, GeForce RTX 3050 Mobile, 0");
    }
    EXPECT_EQ(fake.state().initCalls, 0);
    EXPECT_EQ(fake.state().deviceCalls, 0);

    // Something else wakes the card: NVML answers, under its own name.
    tree.write(kNvidiaCard + "power/runtime_status", "active\n");
    EXPECT_EQ(describe(machine.readAt(3))[1], "nvidia, NVIDIA GeForce RTX 3050 Laptop GPU, 37");
    EXPECT_EQ(fake.state().sessions, 1) << "busy: the session stays open";

    // It falls asleep again: no call, the session is closed, the name stays.
    tree.write(kNvidiaCard + "power/runtime_status", "suspended\n");
    int callsBefore = fake.state().deviceCalls;
    EXPECT_EQ(describe(machine.readAt(4))[1], "nvidia, NVIDIA GeForce RTX 3050 Laptop GPU, 0");
    EXPECT_EQ(fake.state().deviceCalls, callsBefore);
    EXPECT_EQ(fake.state().sessions, 0);
}

// The Optimus laptop with its NVIDIA card awake, and NVML's stand-in answering for it.
class AwakeNvidiaCard : public testing::Test {
  protected:
    AwakeNvidiaCard() { tree.write(kNvidiaCard + "power/runtime_status", "active\n"); }

    FakeNvml fake;
    FakeNvmlDevice& device = fake.addDevice("0000:01:00.0", "NVIDIA GeForce RTX 3050", 0);
    FixtureTree tree{"nvidia-optimus-laptop"};
};

// An open session keeps the driver attached: only a card that stays awake anyway (never allowed
// to sleep, or busy) keeps one between reads, until the sampler stops. When an idle card is read
// again is the schedule's to say.
TEST_F(AwakeNvidiaCard, OnlyACardThatStaysAwakeKeepsItsSession) {
    struct Row {
        const char* control;
        int sessionsWhileIdle;
        double nextRead;  // the second the card is read again
    };
    for (const Row& row : {
             Row{"auto", 0, 12},  // read again at the next round, 10 s and the margin on
             Row{"on", 1, 1},     // never asleep: read every tick
         }) {
        SCOPED_TRACE(row.control);
        tree.writeLine(kNvidiaCard + "power/control", row.control);
        device.utilization = 0;
        Machine machine(tree.root());
        EXPECT_EQ(busy(machine.readAt(0)[1]), 0);
        EXPECT_EQ(fake.state().sessions, row.sessionsWhileIdle);
        device.utilization = 80;
        EXPECT_EQ(busy(machine.readAt(row.nextRead)[1]), 80);
        EXPECT_EQ(fake.state().sessions, 1) << "busy";
        machine.source.release();
        EXPECT_EQ(fake.state().sessions, 0) << "stopping the sampler ends the session";
    }
}

TEST_F(AwakeNvidiaCard, FailedNvmlInitialisationIsNotRetriedEveryTick) {
    device.utilization = 20;
    fake.state().initResult = 999;  // NVML_ERROR_UNKNOWN
    Machine machine(tree.root());
    for (int second = 0; second < 5; ++second) {
        EXPECT_EQ(busy(machine.readAt(second)[1]), std::nullopt);
    }
    EXPECT_EQ(fake.state().initCalls, 1);
}

}  // namespace
}  // namespace glintdeck
