// glintdeck-stats: the strip's stats for terminals, scripts and status bars. Reads the user's
// preferences (order, enabled stats, value modes, interval) without ever writing them.

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "cli/delivery_counting_factory.h"
#include "cli/options.h"
#include "cli/sample_json.h"
#include "cli/status_bar_lines.h"
#include "cli/tile_report.h"
#include "cli/urgent_stats.h"
#include "core/task_queue_main_thread.h"
#include "platform/linux/descriptor_limit.h"
#include "platform/linux/linux_sampler_factory.h"
#include "platform/linux/processor_count.h"
#include "platform/linux/session/posix_preferences_file.h"
#include "platform/linux/session/termination_watcher.h"
#include "platform/linux/system_clock.h"
#include "presentation/descriptors.h"
#include "samplers/thread_pool_executor.h"

using namespace glintdeck;
using SteadyClock = std::chrono::steady_clock;

namespace {

// A one-shot run's rates span this long, whatever the interval: a status bar or a script waits
// on its answer, and two intervals of the settings slider's longest are 40 s.
constexpr double kOneShotSpan = 1.0;
// How long a one-shot run waits, past the span, for a sampler late with its second sample.
constexpr std::chrono::milliseconds kOneShotGrace(500);

// What paces --watch: the preference, unless --interval overrides it for this run. A one-shot
// run samples over kOneShotSpan instead.
class RunInterval final : public IntervalSource {
  public:
    RunInterval(const AppSettings& settings, const CliOptions& options)
        : settings_(settings), options_(options) {}
    double interval() const override {
        if (!options_.watch) return kOneShotSpan;
        return options_.interval.value_or(settings_.interval());
    }

  private:
    const AppSettings& settings_;
    const CliOptions& options_;
};

// Writes text to standard output at once, in one write where the reader takes it whole, so a
// reader that stops after the first line (`| head -1`) has had the whole report before it closes
// the pipe. On failure (a full disk, /dev/full, a reader that closed the pipe) says so in one
// line and returns false: output that silently goes nowhere helps nobody, and a --watch run
// would fill the disk's last blocks forever, or outlive the bar that read it.
bool writeOut(std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            std::fprintf(stderr, "glintdeck-stats: cannot write the output: %s\n",
                         std::strerror(errno));
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::chrono::milliseconds until(SteadyClock::time_point deadline) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe is a write error like any other (EPIPE), ending the run with status 1 and a
    // line on standard error as the manual page says, rather than a silent death by the signal.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    ParsedOptions parsed = parseOptions(arguments);
    if (!parsed.options) {
        std::fprintf(stderr, "glintdeck-stats: %s\n%.*s", parsed.error.c_str(),
                     static_cast<int>(usageText().size()), usageText().data());
        return 2;
    }
    const CliOptions options = *parsed.options;
    if (options.help) return writeOut(usageText()) ? 0 : 1;
    if (options.version) return writeOut(versionText()) ? 0 : 1;

    std::setlocale(LC_ALL, "");
    raiseDescriptorLimit();
    std::unique_ptr<PreferencesStore> preferences =
        openStandardPreferences(PreferencesStore::Mode::readOnly);
    AppSettings settings(preferences ? std::move(preferences) : PreferencesStore::inMemory());
    RunInterval interval(settings, options);

    TaskQueueMainThread mainThread;
    bool quit = false;
    bool failed = false;
    TerminationWatcher terminationWatcher(mainThread, [&quit] { quit = true; });
    ThreadPoolExecutor executor;
    auto clock = std::make_shared<SystemClock>();
    LinuxSamplerFactory linuxSamplers(executor, clock);
    DeliveryCountingFactory samplers(linuxSamplers);
    const DescriptorEnvironment environment =
        DescriptorEnvironment::fromCurrentLocale(onlineProcessorCount(), clock);
    const bool clearScreen =
        options.watch && options.format == OutputFormat::text && isatty(STDOUT_FILENO);
    bool firstPrint = true;
    // The i3bar blocks hold only the tiles' texts; every other output shows the detail rows.
    const DetailKinds details =
        options.format == OutputFormat::i3bar ? DetailKinds::none() : DetailKinds::all();
    {
        StatsStore store(mainThread, samplers, interval);
        store.setPanelVisible(true);  // so top processes are sampled too
        store.start();

        auto print = [&] {
            std::vector<StatDescriptor> tiles = descriptors(store, settings, environment, details);
            std::string out;
            switch (options.format) {
                case OutputFormat::text:
                    out = (clearScreen ? "\033[H\033[2J" : "") + textReport(tiles);
                    break;
                case OutputFormat::json:
                    out = jsonLine(isoTime(clock->wallSeconds()), tilesJson(tiles),
                                   samplesJson(store)) +
                          '\n';
                    break;
                case OutputFormat::waybar:
                    out = waybarLine(tiles) + '\n';
                    break;
                case OutputFormat::i3bar:
                    out =
                        (firstPrint ? i3barHeader() : "") +
                        i3barLine(tiles, urgentStats(store.battery(), store.temps(), store.disk()),
                                  firstPrint) +
                        '\n';
                    break;
            }
            firstPrint = false;
            if (!writeOut(out)) failed = true;
        };

        const auto period = std::chrono::duration_cast<SteadyClock::duration>(
            std::chrono::duration<double>(interval.interval()));
        // Every sampler twice (the processor's first tick only sets its baseline), or until the
        // deadline: for --watch two periods and a second, for one print the span and a little.
        const SteadyClock::duration firstWait =
            options.watch ? 2 * period + std::chrono::seconds(1) : period + kOneShotGrace;
        const auto deadline = SteadyClock::now() + firstWait;
        while (!quit && !samplers.everySamplerDelivered(2) && SteadyClock::now() < deadline) {
            mainThread.runNext(until(deadline));
        }
        if (!quit) print();
        auto next = SteadyClock::now() + period;
        while (options.watch && !quit && !failed) {
            mainThread.runNext(until(next));
            if (!quit && SteadyClock::now() >= next) {
                print();
                next += period;
            }
        }
        store.stop();
    }
    executor.shutdown();
    return failed ? 1 : 0;
}
