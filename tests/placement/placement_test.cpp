#include "shell/placement/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace glintdeck {
namespace {

// A 1440 × 900 screen whose visible frame loses a 25-pixel panel at the top, and one with a dock
// along its left and bottom edges.
const ScreenGeometry plain{{0, 0, 1440, 900}, {0, 0, 1440, 900}};
const ScreenGeometry menuBar{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
const ScreenGeometry docked{{0, 0, 1440, 900}, {64, 70, 1376, 805}};
// A second screen to the right of the first, its bottom 100 points higher.
const ScreenGeometry right{{1440, 100, 1280, 1024}, {1440, 100, 1280, 1000}};

struct StripCase {
    std::string name;
    PanelAnchor anchor;
    std::optional<Point> customPosition;
    Size size;
    std::optional<Point> pointer;
    ScreenLayout layout;
    Point expected;
};

// Without a pointer (Wayland sessions: XWayland does not know where it is), the cursor anchor is
// the main screen's top centre.
TEST(StripOrigin, FollowsTheAnchorOrTheRememberedPositionAndStaysOnScreen) {
    const Size strip{400, 36};
    const std::nullopt_t unknown = std::nullopt;
    // clang-format off
    const std::vector<StripCase> cases{
        {"top centre", PanelAnchor::topCenter, {}, strip, Point{10, 10}, {{plain}}, {520, 840}},
        {"bottom centre", PanelAnchor::bottomCenter, {}, strip, Point{10, 10}, {{plain}},
         {520, 24}},
        {"screen centre", PanelAnchor::screenCenter, {}, strip, Point{10, 10}, {{plain}},
         {520, 432}},
        {"hangs below the pointer", PanelAnchor::cursor, {}, strip, Point{700, 500}, {{plain}},
         {500, 446}},
        {"pointer near the left edge", PanelAnchor::cursor, {}, strip, Point{80, 500}, {{docked}},
         {64, 446}},
        {"pointer near the bottom edge", PanelAnchor::cursor, {}, strip, Point{700, 60},
         {{docked}}, {500, 70}},
        {"pointer near the top-right corner", PanelAnchor::cursor, {}, strip, Point{1439, 899},
         {{menuBar}}, {1040, 839}},
        {"wider than the visible frame", PanelAnchor::topCenter, {}, {1500, 36}, Point{10, 10},
         {{docked}}, {64, 815}},
        {"anchored on the pointer's screen", PanelAnchor::topCenter, {}, strip, Point{2000, 500},
         {{plain, right}}, {1880, 1040}},
        {"custom position kept", PanelAnchor::topCenter, Point{300, 300}, strip, Point{10, 10},
         {{plain}}, {300, 300}},
        {"custom position ignored at the cursor", PanelAnchor::cursor, Point{300, 300}, strip,
         Point{700, 500}, {{plain}}, {500, 446}},
        {"custom position clamped into its own screen", PanelAnchor::bottomCenter,
         Point{2600, 1100}, strip, Point{10, 10}, {{plain, right}}, {2320, 1064}},
        // The second screen was unplugged since the strip was dragged there.
        {"custom position on a removed screen", PanelAnchor::bottomCenter, Point{2600, 1100},
         strip, Point{10, 10}, {{plain}}, {1040, 864}},
        {"no screen: anchored against the zero rectangle", PanelAnchor::topCenter, {}, strip,
         Point{700, 500}, {}, {-200, -60}},
        {"no screen: custom position unchanged", PanelAnchor::topCenter, Point{-5000, 9000},
         strip, Point{700, 500}, {}, {-5000, 9000}},
        {"no pointer: the cursor anchor", PanelAnchor::cursor, {}, strip, unknown,
         {{plain, docked}, 1}, {552, 815}},
        {"no pointer: under a menu bar", PanelAnchor::cursor, {}, strip, unknown, {{menuBar}},
         {520, 815}},
        {"no pointer: other anchors on the main screen", PanelAnchor::bottomCenter, {}, strip,
         unknown, {{plain, right}, 1}, {1880, 124}},
        {"no pointer: custom position kept", PanelAnchor::topCenter, Point{300, 300}, strip,
         unknown, {{plain}}, {300, 300}},
        {"no pointer: custom position still ignored at the cursor", PanelAnchor::cursor,
         Point{300, 300}, strip, unknown, {{plain}}, {520, 840}},
        {"no pointer, no screen", PanelAnchor::cursor, {}, strip, unknown, {}, {-200, -60}},
    };
    // clang-format on
    for (const StripCase& c : cases) {
        EXPECT_EQ(stripOrigin(c.anchor, c.customPosition, c.size, c.pointer, c.layout), c.expected)
            << c.name;
    }
}

TEST(ScreenContaining, PrefersTheFirstContainingScreenThenTheMainOne) {
    const ScreenGeometry overlapping{{0, 0, 800, 600}, {0, 0, 800, 600}};
    ScreenLayout layout{{plain, right, overlapping}, 1};
    EXPECT_EQ(screenContaining(layout, {10, 10}), plain) << "first in list order wins";
    EXPECT_EQ(screenContaining(layout, {1440, 500}), right) << "shared edge belongs to the right";
    EXPECT_EQ(screenContaining(layout, {-10, -10}), right) << "outside every screen: the main one";
    EXPECT_EQ(screenContaining(ScreenLayout{}, {0, 0}), std::nullopt);
}

// A shown strip whose screens changed stays on the screen holding its centre, else the main one.
TEST(ReplacedStripOrigin, KeepsTheShownStripOnItsScreenOrTakesItToTheMainOne) {
    const ScreenLayout shrunk{{{{0, 0, 800, 600}, {0, 0, 800, 600}}}};
    const Rect gone{700, 1020, 500, 36};  // its centre is past the shrunk screen
    const Size size{400, 36};
    EXPECT_EQ(replacedStripOrigin(PanelAnchor::topCenter, std::nullopt, size, gone, shrunk),
              (Point{200, 540}));
    EXPECT_EQ(replacedStripOrigin(PanelAnchor::cursor, std::nullopt, size, gone, shrunk),
              (Point{400, 564}))
        << "the cursor anchor keeps its top centre, clamped";
    EXPECT_EQ(replacedStripOrigin(PanelAnchor::topCenter, std::nullopt, size, {2000, 900, 500, 36},
                                  {{menuBar, right}}),
              (Point{1880, 1040}));
}

struct AttachedCase {
    std::string name;
    Size size;
    Rect strip;
    double centreX;
    ScreenLayout layout;
    Point expected;
};

TEST(AttachedPanelOrigin, HangsBelowTheStripOrRisesAboveItWithinTheVisibleFrame) {
    const Rect strip{400, 500, 400, 36};
    // clang-format off
    const std::vector<AttachedCase> cases{
        {"centred under the tap, clamped left", {300, 200}, strip, 100, {{menuBar}}, {0, 294}},
        {"centred under the tap", {300, 200}, strip, 600, {{menuBar}}, {450, 294}},
        {"clamped right", {300, 200}, strip, 1430, {{menuBar}}, {1140, 294}},
        {"no room below: above the strip", {300, 200}, {400, 100, 400, 36}, 600, {{menuBar}},
         {450, 142}},
        {"taller than both spaces: the taller one, clear of the strip", {300, 200},
         {400, 50, 400, 700}, 600, {{menuBar}}, {450, 756}},
        {"taller than the frame: below, past the edge", {300, 1000}, strip, 600, {{menuBar}},
         {450, -506}},
        {"wider than the frame: left edge", {2000, 200}, strip, 600, {{docked}}, {64, 294}},
        {"on the strip's screen", {300, 200}, {2000, 600, 400, 36}, 2200, {{menuBar, right}},
         {2050, 394}},
        {"no screen: below the strip", {100, 50}, strip, 300, {}, {250, 444}},
    };
    // clang-format on
    for (const AttachedCase& c : cases) {
        EXPECT_EQ(attachedPanelOrigin(c.size, c.strip, c.centreX, c.layout), c.expected) << c.name;
    }
}

// A card taller than the spaces beside the strip covered the strip (the tile that closes it
// included) or opened mostly off the screen: shrunk to the room, it lies on its screen, clear of
// the strip.
TEST(AttachedPanelRoom, ACardShrunkToTheRoomLiesOnItsScreenAndClearOfTheStrip) {
    const ScreenGeometry laptop{{0, 0, 1280, 800}, {0, 0, 1280, 800}};
    const ScreenGeometry tiny{{0, 0, 320, 200}, {0, 0, 320, 200}};
    // The screen, the strip, the card's natural size and the room beside the strip.
    for (auto [screen, strip, natural, room] :
         {std::tuple{laptop, Rect{190, 382, 900, 36}, Size{244, 493}, Size{1280, 376}},
          {laptop, {190, 740, 900, 36}, {244, 493}, {1280, 734}},
          {tiny, {0, 117, 320, 36}, {244, 403}, {320, 111}},
          {tiny, {40, 0, 240, 36}, {400, 100}, {320, 158}}}) {
        const ScreenLayout layout{{screen}};
        EXPECT_EQ(attachedPanelRoom(strip, layout), room) << strip.y;
        const Size card{std::min(natural.width, room.width), std::min(natural.height, room.height)};
        const Point o = attachedPanelOrigin(card, strip, strip.midX(), layout);
        const Rect& vf = screen.visibleFrame;
        EXPECT_TRUE(o.x >= vf.minX() && o.x + card.width <= vf.maxX() && o.y >= vf.minY() &&
                    o.y + card.height <= vf.maxY())
            << strip.y;
        EXPECT_TRUE(o.y + card.height + attachedPanelGap <= strip.minY() ||
                    o.y - attachedPanelGap >= strip.maxY())
            << strip.y;
    }
}

}  // namespace
}  // namespace glintdeck
