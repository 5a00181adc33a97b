#include "cli/status_bar_lines.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace glintdeck {
namespace {

StatDescriptor tile(StatKind kind, std::string value, double load, Band band) {
    StatDescriptor d;
    d.kind = kind;
    d.value = std::move(value);
    d.loadPercent = load;
    d.band = band;
    return d;
}

// Waybar parses text and tooltip as Pango markup: a process named "<b>&" must show as such,
// not break the line or style it.
TEST(StatusBarLinesTest, WaybarEscapesMarkupAndReportsTheMostLoadedTile) {
    StatDescriptor cpu = tile(StatKind::cpu, "12%", 12, Band::calm);
    cpu.processSection = StatDescriptor::ProcessSection{"Top", {{"<b>&x", "9%"}}};
    std::vector<StatDescriptor> tiles = {cpu, tile(StatKind::memory, "91%", 91.4, Band::hot),
                                         tile(StatKind::disk, "40%", 140, Band::busy)};
    nlohmann::json line = nlohmann::json::parse(waybarLine(tiles));
    EXPECT_EQ(line["text"], "CPU 12%  Memory 91%  Disk 40%");
    EXPECT_NE(line["tooltip"].get<std::string>().find("&lt;b&gt;&amp;x"), std::string::npos);
    EXPECT_EQ(line["tooltip"].get<std::string>().find('<'), std::string::npos);
    EXPECT_EQ(line["class"], "hot");
    EXPECT_EQ(line["percentage"], 100) << "clamped";
    EXPECT_EQ(nlohmann::json::parse(waybarLine({}))["class"], "calm");
}

TEST(StatusBarLinesTest, I3barBlocksCarryColourAndUrgencyBeyondCalm) {
    std::vector<StatDescriptor> tiles = {tile(StatKind::cpu, "12%", 12, Band::calm),
                                         tile(StatKind::memory, "71%", 71, Band::busy),
                                         tile(StatKind::temps, "96 °C", 96, Band::hot)};
    std::string line = i3barLine(tiles, false);
    ASSERT_TRUE(line.starts_with(','));
    nlohmann::json blocks = nlohmann::json::parse(line.substr(1));
    EXPECT_EQ(blocks[0],
              (nlohmann::json{{"full_text", "CPU 12%"}, {"short_text", "12%"}, {"name", "cpu"}}));
    EXPECT_TRUE(blocks[1].contains("color"));
    EXPECT_FALSE(blocks[1].contains("urgent"));
    EXPECT_EQ(blocks[2]["urgent"], true);
    EXPECT_FALSE(i3barLine(tiles, true).starts_with(','));
}

}  // namespace
}  // namespace glintdeck
