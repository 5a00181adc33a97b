#include <gtest/gtest.h>

#include "tests/support/sample_descriptors.h"
#include "tests/views/view_test_support.h"
#include "views/first_run_hint_view.h"
#include "views/stat_detail_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {
namespace {

using namespace testing_support;

// With a compositing manager a panel is translucent and rounds its own corners. Without one the
// shell cuts the window to the outline with a shape mask and X shows its pixels without alpha:
// any pixel the background only partly covers would show as a dark fringe along the curve.
// Tiles paint the panel's fill under themselves (so that their updates leave the strip alone):
// it must be the very colour of the strip's own fill around them, in every appearance.
TEST(PanelBackgroundTest, MaskedPanelsAreOpaqueToTheCornersTranslucentOnesRoundTheirOwn) {
    HudStyle light = darkStyle();
    light.appearance = Appearance::light;
    HudStyle masked = darkStyle();
    masked.opaqueBackground = true;
    for (auto [name, style] :
         {std::pair{"dark", darkStyle()}, {"light", light}, {"masked", masked}}) {
        StatsStripView strip;
        strip.setDescriptors({samples::cpu()}, [](StatKind) { return TileStyle::text; });
        FirstRunHintView hint(QStringLiteral("Ctrl+Alt+Super+Q"));
        StatDetailView card;
        card.setDescriptor(samples::uptime());
        strip.setStyle(style);
        hint.setStyle(style);
        card.setStyle(style);
        for (QWidget* view : std::initializer_list<QWidget*>{&strip, &hint, &card}) {
            SCOPED_TRACE(testing::Message() << view->metaObject()->className() << " " << name);
            view->resize(view->sizeHint());
            QImage image = rendered(view);
            const int right = image.width() - 1, bottom = image.height() - 1;
            for (QPoint corner :
                 {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
                EXPECT_EQ(qAlpha(image.pixel(corner)), style.opaqueBackground ? 255 : 0);
            }
            if (view == &strip) {
                // Just right of the tile's left edge, above its icon, and left of it.
                QPoint tile = strip.tile(StatKind::cpu)->geometry().topLeft();
                EXPECT_EQ(image.pixel(tile + QPoint(1, 0)), image.pixel(tile - QPoint(3, 0)));
            }
            if (!style.opaqueBackground) continue;
            int alphas = 255;  // stays 255 only if every pixel is opaque
            for (int y = 0; y <= bottom; ++y) {
                for (int x = 0; x <= right; ++x) alphas &= qAlpha(image.pixel(x, y));
            }
            EXPECT_EQ(alphas, 255);
        }
    }
}

}  // namespace
}  // namespace glintdeck
