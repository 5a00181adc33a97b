#pragma once

#include <QColor>
#include <QSizeF>
#include <QWidget>
#include <optional>

#include "core/graph_data.h"
#include "views/hud_style.h"

namespace glintdeck {

// A bar chart of the most recent samples of a GraphData (geometry in graph_geometry.h), drawn
// on a surface of a fixed size centred in the widget and transparent where nothing is drawn.
// Repaints only when the data or one of its three colours changes.
class ActivityGraphView final : public QWidget {
    Q_OBJECT

  public:
    // barWidth + barGap must be greater than 0: the tile passes 34 × 12...26 with 1 and 0.5,
    // the detail card 220 × 44 with 2 and 1.
    ActivityGraphView(QSizeF surface, double barWidth, double barGap, QWidget* parent = nullptr);

    void setData(const GraphData& data);
    void setStyle(const HudStyle& style);
    void setSurfaceSize(QSizeF surface);
    // The panel's fill, when the graph lies on its plain inside (panel_background.h): a new
    // sample then repaints the graph alone.
    void setPanelFill(std::optional<QColor> fill);

    [[nodiscard]] const GraphData& data() const { return data_; }
    [[nodiscard]] QSizeF surfaceSize() const { return surface_; }
    [[nodiscard]] QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSizeF surface_;
    double barWidth_;
    double barGap_;
    GraphData data_;
    QColor baseline_;
    QColor upper_;
    QColor lower_;
    std::optional<QColor> fill_;
};

}  // namespace glintdeck
