#pragma once

#include <QRectF>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "presentation/stat_descriptor.h"
#include "settings/setting_declarations.h"
#include "settings/tile_options.h"
#include "views/cached_symbol.h"
#include "views/hud_style.h"
#include "views/hud_text.h"

namespace glintdeck {

class ActivityGraphView;

// What one tile shows: the descriptor's fields and the kind's tile style. A text tile holds no
// graph, so that samples it does not show leave its content unchanged.
struct TileContent {
    std::string symbol;
    std::string value;
    std::string widestValue;
    std::optional<std::string> secondaryValue;
    std::optional<std::string> widestSecondaryValue;
    Band band = Band::calm;
    Tint tint = Tint::primaryText;
    TileStyle style = TileStyle::text;
    std::optional<GraphData> graph;

    [[nodiscard]] static TileContent from(const StatDescriptor& descriptor, TileStyle style);
    bool operator==(const TileContent&) const = default;
};

// One stat in the strip: an icon tinted by the load band, the text (and second text) each in a
// width reserved for its widest form drawn in the heavy weight, and in the graph styles a
// miniature graph. The width never changes while values or bands change, only when the widest
// texts, the style, the theme or the strip height do. The whole rectangle is one click target.
//
// Repaints only what changed: new texts, band or tint repaint the tile left of its graph, a new
// sample the graph alone, and the same content nothing. Laying out again (measuring texts) waits
// for a change of the texts, band, second text, graph presence, style or strip height.
class StatTileView final : public QWidget {
    Q_OBJECT

  public:
    explicit StatTileView(QWidget* parent = nullptr);

    void setContent(const TileContent& content);
    void setStyle(const HudStyle& style);
    void setStripHeight(double stripHeight);
    void setOnTap(std::function<void()> onTap) { onTap_ = std::move(onTap); }
    // The panel's fill, while the tile lies on its plain inside (panel_background.h).
    void setPanelFill(std::optional<QColor> fill);

    [[nodiscard]] const TileContent& content() const { return content_; }
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

    // The graph's height for a strip height: min(26, max(12, stripHeight − 14)).
    [[nodiscard]] static double graphHeight(double stripHeight);

    // Where the parts sit, for painting and for tests.
    struct Layout {
        QRectF icon;
        std::optional<QRectF> main;    // the reserved width of the main text
        std::optional<QRectF> second;  // present only with both second texts
        std::optional<QRectF> graph;
        QSizeF size;
    };
    [[nodiscard]] Layout layout() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    [[nodiscard]] bool showsText() const;
    [[nodiscard]] bool showsGraph() const;
    [[nodiscard]] const HudText& valueText(FontWeight weight) const;
    void relayout();

    TileContent content_;
    HudStyle style_;
    double stripHeight_ = setting::stripHeight.defaultValue;
    std::function<void()> onTap_;
    ActivityGraphView* graph_ = nullptr;  // owned by Qt as a child
    Layout layout_;
    // The value font in each weight used so far; measured widths live in these until the style
    // changes.
    mutable std::map<FontWeight, HudText> valueTexts_;
    CachedSymbol symbol_;
    std::optional<QColor> fill_;
    bool pressed_ = false;
};

}  // namespace glintdeck
