#pragma once

#include <QPointF>
#include <QWidget>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "core/stat_kind.h"
#include "settings/setting_declarations.h"
#include "views/hud_style.h"
#include "views/stat_tile_view.h"

namespace glintdeck {

class DividerView;
class SymbolView;

// One tile of the strip: the kind it opens and what it shows.
struct StripTile {
    StatKind kind = StatKind::cpu;
    TileContent content;
    bool operator==(const StripTile&) const = default;
};

// The strip's content: the pin indicator, one tile per descriptor with 1 × 18 dividers between
// them (and one more before the button when there is a tile), and the settings button, spaced by
// the theme's tile spacing and padded by its horizontal padding, on a rounded background, at the
// fixed strip height. Its natural size (sizeHint) is what the panel is sized to.
//
// Given the width of its screen, a strip that would be wider takes the compact density (fonts and
// spacing) and, if that is not enough, leaves out its last tiles until it fits; the settings
// button always stays, and its tooltip names the tiles left out.
//
// Reports the user's actions through callbacks: a tile tap, the settings button, and dragging
// (a press anywhere, tiles and button included, that moves 3 points or more in screen
// coordinates; translation in screen coordinates, y growing downward). A press that became a
// drag taps nothing. Callbacks run inside event handling: a host that wants to discard the
// strip from one uses deleteLater().
class StatsStripView final : public QWidget {
    Q_OBJECT

  public:
    using DragCallback = std::function<void(QPointF translation, bool ended)>;

    explicit StatsStripView(QWidget* parent = nullptr);

    // Updates tiles in place: a tile whose content did not change does not repaint, and tiles of
    // kinds that stay are kept.
    void setTiles(const std::vector<StripTile>& tiles);
    void setDescriptors(const std::vector<StatDescriptor>& descriptors,
                        const std::function<TileStyle(StatKind)>& tileStyle);
    void setStyle(const HudStyle& style);
    void setStripHeight(double stripHeight);
    void setPinned(bool pinned);
    // The widest the strip may be: its screen's visible width. Unlimited until set.
    void setAvailableWidth(double width);

    void setOnTileTap(std::function<void(StatKind)> onTileTap);
    void setOnOpenSettings(std::function<void()> onOpenSettings);
    void setOnDrag(DragCallback onDrag) { onDrag_ = std::move(onDrag); }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

    // The row's widgets in order (pin, the tiles shown and dividers, button), for the shell and
    // tests.
    [[nodiscard]] const std::vector<QWidget*>& rowItems() const { return row_; }
    [[nodiscard]] StatTileView* tile(StatKind kind) const;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Follows one press: nothing until it has moved 3 points, then every move is a drag.
    struct DragState {
        std::optional<QPointF> pressedAt;  // global position of the left-button press
        bool dragging = false;
    };
    bool pressed(QMouseEvent* event);
    bool moved(QMouseEvent* event);
    bool released(QMouseEvent* event);

    void rebuildRow();
    void fitToWidth();
    [[nodiscard]] double rowWidth(size_t tileCount) const;
    [[nodiscard]] HudStyle shownStyle() const;
    void placeItems();
    void fillTiles();
    void applyStyle();
    StatTileView* makeTile(StatKind kind);

    HudStyle style_;
    double stripHeight_ = setting::stripHeight.defaultValue;
    double availableWidth_ = std::numeric_limits<double>::infinity();
    bool compact_ = false;   // the theme is shown at the compact density, for lack of room
    size_t shownTiles_ = 0;  // the first this many tiles fit
    std::vector<StripTile> tiles_;
    std::map<StatKind, StatTileView*> tileViews_;
    std::vector<DividerView*> dividers_;
    SymbolView* pin_ = nullptr;
    SymbolView* settings_ = nullptr;
    std::vector<QWidget*> row_;
    std::function<void(StatKind)> onTileTap_;
    std::function<void()> onOpenSettings_;
    DragCallback onDrag_;
    DragState drag_;
};

}  // namespace glintdeck
