#pragma once

#include <QPointF>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/stat_kind.h"
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

    void setOnTileTap(std::function<void(StatKind)> onTileTap);
    void setOnOpenSettings(std::function<void()> onOpenSettings);
    void setOnDrag(DragCallback onDrag) { onDrag_ = std::move(onDrag); }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

    // The row's widgets in order (pin, tiles and dividers, button), for the shell and tests.
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
    void placeItems();
    void applyStyle();
    StatTileView* makeTile(StatKind kind);

    HudStyle style_;
    double stripHeight_ = 36;
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
