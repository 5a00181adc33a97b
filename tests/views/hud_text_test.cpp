#include "views/hud_text.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>

#include "views/hud_style.h"

namespace glintdeck {
namespace {

// Text is drawn from glyphs shaped once and kept: on exactly the pixels Qt's own drawing gives,
// fallback glyphs (the arrows) and fractional positions included, however often it is drawn.
TEST(HudTextTest, KeptGlyphsDrawAsQtDrawsTheText) {
    QFont font = hudFont(Theme::makeDefault(false).fonts.value, FontWeight::semibold);
    HudText text(font, false);
    const QPointF topLeft(3.5, 6.25);
    auto drawn = [&font](const std::function<void(QPainter&)>& draw) {
        QImage image(200, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setPen(Qt::white);
        painter.setFont(font);
        draw(painter);
        return image;
    };
    for (const char* shown : {"↓ 1,4 MB/s", "↑ 88 KB/s", "Nominal", "3h 14m", "100%"}) {
        QString string = QString::fromUtf8(shown);
        QImage expected = drawn([&](QPainter& p) {
            p.drawText(topLeft + QPointF(0, QFontMetricsF(font).ascent()), string);
        });
        for (int time : {1, 2}) {
            EXPECT_TRUE(drawn([&](QPainter& p) { text.draw(p, topLeft, string); }) == expected)
                << shown << ", drawing " << time;
        }
    }
}

}  // namespace
}  // namespace glintdeck
