#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "presentation/stat_descriptor.h"
#include "views/hud_style.h"

namespace glintdeck {

class ActivityGraphView;
class ActivityGraphLegend;

// The detail card of one stat: for the graph kinds the graph, its legend and a divider; every
// detail row (label left, value at the right edge); for cpu and memory a divider, the section
// title and exactly reservedRows process rows, the missing ones invisible but taking their
// height, so the card does not jump while the list fills; before the first list arrives the
// whole section's room is kept, empty. Padding 12, at least 200 wide, on a rounded background.
// Given less height than it needs (a small screen), it shows less rather than spilling: process
// rows go first, from the last up, then the graph shortens to 16 points, then it goes with its
// legend, then detail rows, from the last up.
// Without a descriptor (the stat became unavailable) the card keeps its frame and background and
// shows nothing.
class StatDetailView final : public QWidget {
    Q_OBJECT

  public:
    explicit StatDetailView(QWidget* parent = nullptr);

    void setDescriptor(const std::optional<StatDescriptor>& descriptor);
    void setStyle(const HudStyle& style);

    [[nodiscard]] const std::optional<StatDescriptor>& descriptor() const { return descriptor_; }
    // The natural size; the card is measured once when shown and lays out in whatever size it
    // is given, shortening process names to fit.
    [[nodiscard]] QSize sizeHint() const override;

    struct TextRow {
        QRectF rect;
        QString left;   // label or process name (already shortened)
        QString right;  // value
        bool visible = true;
    };
    struct Layout {
        std::optional<QRectF> graph;
        std::optional<QRectF> legend;
        std::vector<double> dividers;  // y of each 1-point divider line
        std::vector<TextRow> rows;     // detail rows
        std::optional<QRectF> processTitle;
        std::vector<TextRow> processRows;
        QSizeF size;         // of this layout
        QSizeF naturalSize;  // with every part shown
    };
    // The layout in a card `width` wide (the natural width when 0) and at most `height` tall (no
    // limit when 0).
    [[nodiscard]] Layout layout(double width = 0, double height = 0) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // How much of the descriptor a layout shows.
    struct Shape {
        int processRows = 0;     // reserved rows kept; none: no section
        double graphHeight = 0;  // none: no graph group
        size_t detailRows = 0;
    };
    [[nodiscard]] int reservedProcessRows() const;
    [[nodiscard]] Layout arrange(double width, const Shape& shape) const;
    // Takes the next part away for a layout `excess` too tall; false when nothing is left.
    [[nodiscard]] static bool shrink(Shape& shape, double excess, const Layout& current);
    void relayout();

    std::optional<StatDescriptor> descriptor_;
    HudStyle style_;
    ActivityGraphView* graph_ = nullptr;
    ActivityGraphLegend* legend_ = nullptr;
    Layout layout_;
};

}  // namespace glintdeck
