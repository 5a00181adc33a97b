#include "cli/status_bar_lines.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace glintdeck {
namespace {

StatDescriptor tile(StatKind kind, std::string value, double load, Band band) {
    return {.kind = kind, .value = std::move(value), .loadPercent = load, .band = band};
}

// Waybar parses text and tooltip as Pango markup: a process named "<b>&" must show as such,
// not break the line or style it. The tooltip used to be the whole report, 50 lines and more.
TEST(StatusBarLinesTest, WaybarEscapesMarkupAndReportsTheMostLoadedTile) {
    StatDescriptor cpu = tile(StatKind::cpu, "12%", 12, Band::calm);
    cpu.detail = {{"User", "8%"}, {"System", "4%"}};
    cpu.processSection = StatDescriptor::ProcessSection{"Top", {{"<b>&x", "9%"}, {"sh", "1%"}}};
    std::vector<StatDescriptor> tiles = {cpu, tile(StatKind::memory, "91%", 91.4, Band::hot),
                                         tile(StatKind::disk, "40%", 140, Band::busy)};
    nlohmann::json line = nlohmann::json::parse(waybarLine(tiles));
    EXPECT_EQ(line["text"], "CPU 12%  Memory 91%  Disk 40%");
    EXPECT_EQ(line["tooltip"], "CPU 12% \u00B7 &lt;b&gt;&amp;x 9%\nMemory 91%\nDisk 40%");
    EXPECT_EQ(line["class"], "hot");
    EXPECT_EQ(line["percentage"], 100) << "clamped";
    EXPECT_EQ(nlohmann::json::parse(waybarLine({}))["class"], "calm");
}

// Blocks used to shift sideways as digits changed, and a busy processor raised the urgent flag.
TEST(StatusBarLinesTest, I3barBlocksKeepTheirWidthAndAreUrgentOnlyWhenAsked) {
    StatDescriptor network = tile(StatKind::network, "↓ 2 kB/s", 0, Band::calm);
    network.widestValue = "↓ 888 MB/s";
    network.secondaryValue = "↑ 1 kB/s";
    network.widestSecondaryValue = "↑ 888 MB/s";
    std::vector<StatDescriptor> tiles = {network, tile(StatKind::cpu, "100%", 100, Band::hot),
                                         tile(StatKind::temps, "Serious", 75, Band::busy)};
    std::string line = i3barLine(tiles, {StatKind::temps}, false);
    ASSERT_TRUE(line.starts_with(','));
    nlohmann::json blocks = nlohmann::json::parse(line.substr(1));
    EXPECT_EQ(blocks[0]["full_text"], "Network ↓ 2 kB/s ↑ 1 kB/s");
    EXPECT_EQ(blocks[0]["min_width"], "Network ↓ 888 MB/s ↑ 888 MB/s");
    EXPECT_EQ(blocks[0]["align"], "left");
    EXPECT_TRUE(blocks[1].contains("color") && !blocks[1].contains("urgent")) << blocks[1];
    EXPECT_EQ(blocks[2]["urgent"], true);
    EXPECT_FALSE(i3barLine(tiles, {}, true).starts_with(','));
}

}  // namespace
}  // namespace glintdeck
