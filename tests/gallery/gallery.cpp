// Renders every HUD view in every theme preset, dark and light, to PNG files, from fixed
// descriptors: the strip in each tile style, every detail card and the first-run hint, over a
// backdrop so translucency shows. Usage: glintdeck_gallery <output folder>.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <vector>

#include "tests/support/sample_descriptors.h"
#include "views/first_run_hint_view.h"
#include "views/stat_detail_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {
namespace {

constexpr double kScale = 2;  // rendered for a 2x screen, so details can be judged
constexpr int kMargin = 16;

struct NamedTheme {
    QString name;
    Theme theme;
};

// The four presets and a custom theme unlike any of them: warm accent on navy, compact, square.
std::vector<NamedTheme> themes() {
    ThemeData custom{.accent = {1, 0.72, 0.3, 1},
                     .background = {0.05, 0.09, 0.2, 1},
                     .opacity = 0.9,
                     .cornerRadius = 6,
                     .density = ThemeDensity::compact};
    return {{"default", Theme::makeDefault(false)},
            {"mono", Theme::makeMono(false)},
            {"vitals", Theme::makeVitals(false)},
            {"neon", Theme::makeNeon(false)},
            {"custom", Theme::makeCustom(custom, false)}};
}

// A desktop-like backdrop: a diagonal gradient with a few bands of colour under the views.
void paintBackdrop(QPainter& painter, QSize size, Appearance appearance) {
    QLinearGradient gradient(0, 0, size.width(), size.height());
    bool dark = appearance == Appearance::dark;
    gradient.setColorAt(0, dark ? QColor(28, 36, 64) : QColor(214, 226, 245));
    gradient.setColorAt(0.5, dark ? QColor(70, 40, 80) : QColor(245, 222, 214));
    gradient.setColorAt(1, dark ? QColor(20, 60, 60) : QColor(220, 245, 230));
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
    for (int x = 0; x < size.width(); x += 90) {
        painter.fillRect(QRect(x, 0, 30, size.height()),
                         dark ? QColor(255, 255, 255, 18) : QColor(0, 0, 0, 14));
    }
}

// Renders widgets stacked in a grid of `columns` onto one image.
QImage sheet(const std::vector<QWidget*>& widgets, int columns, Appearance appearance) {
    std::vector<QPoint> positions;
    int x = kMargin, y = kMargin, rowHeight = 0, width = 0, column = 0;
    for (QWidget* widget : widgets) {
        widget->resize(widget->sizeHint());
        if (column == columns) {
            column = 0;
            x = kMargin;
            y += rowHeight + kMargin;
            rowHeight = 0;
        }
        positions.emplace_back(x, y);
        x += widget->width() + kMargin;
        width = std::max(width, x);
        rowHeight = std::max(rowHeight, widget->height());
        ++column;
    }
    QSize size(width, y + rowHeight + kMargin);
    QImage image(size * kScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kScale);
    QPainter painter(&image);
    paintBackdrop(painter, size, appearance);
    for (size_t i = 0; i < widgets.size(); ++i) {
        widgets[i]->render(&painter, positions[i], QRegion(), QWidget::DrawChildren);
    }
    return image;
}

std::vector<StripTile> tilesIn(TileStyle style, const std::vector<StatDescriptor>& descriptors) {
    std::vector<StripTile> tiles;
    for (const StatDescriptor& descriptor : descriptors) {
        TileStyle shown = hasHistory(descriptor.kind) ? style : TileStyle::text;
        tiles.push_back({descriptor.kind, TileContent::from(descriptor, shown)});
    }
    return tiles;
}

int run(const QString& folder) {
    QDir().mkpath(folder);
    std::vector<StatDescriptor> all = samples::all();
    int written = 0;
    for (const NamedTheme& named : themes()) {
        for (Appearance appearance : {Appearance::dark, Appearance::light}) {
            HudStyle style{named.theme, appearance, false};
            QString suffix =
                named.name + (appearance == Appearance::dark ? "-dark.png" : "-light.png");
            std::vector<std::unique_ptr<QWidget>> owned;
            auto strip = [&](std::vector<StripTile> tiles, bool pinned, double height,
                             bool opaque = false) {
                auto view = std::make_unique<StatsStripView>();
                view->setStyle({style.theme, style.appearance, opaque});
                view->setStripHeight(height);
                view->setTiles(tiles);
                view->setPinned(pinned);
                owned.push_back(std::move(view));
                return owned.back().get();
            };
            std::vector<QWidget*> strips{
                strip(tilesIn(TileStyle::text, all), true, 36),
                strip(tilesIn(TileStyle::textAndGraph, all), false, 36),
                strip(tilesIn(TileStyle::graph, all), false, 36),
                strip(tilesIn(TileStyle::textAndGraph, {all[0], all[3]}), false, 22),
                strip(tilesIn(TileStyle::textAndGraph, {all[0], all[3]}), true, 44),
                strip({}, true, 36),
                // Without a compositing manager: the same strip painted opaque.
                strip(tilesIn(TileStyle::textAndGraph, {all[0], all[3]}), true, 36, true),
            };
            written += sheet(strips, 1, appearance).save(folder + "/strip-" + suffix);

            std::vector<QWidget*> cards;
            for (const StatDescriptor& descriptor : all) {
                auto card = std::make_unique<StatDetailView>();
                card->setStyle(style);
                card->setDescriptor(descriptor);
                cards.push_back(card.get());
                owned.push_back(std::move(card));
            }
            auto hint = std::make_unique<FirstRunHintView>(QStringLiteral("Ctrl+Alt+Super+Q"));
            hint->setStyle(style);
            cards.push_back(hint.get());
            owned.push_back(std::move(hint));
            written += sheet(cards, 4, appearance).save(folder + "/cards-" + suffix);
        }
    }
    std::printf("gallery: %d images in %s\n", written, qPrintable(folder));
    return written == static_cast<int>(themes().size()) * 4 ? 0 : 1;
}

}  // namespace
}  // namespace glintdeck

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Inter")));
    QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    return glintdeck::run(folder);
}
