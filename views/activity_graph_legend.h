#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

#include "core/graph_data.h"
#include "views/hud_style.h"

namespace glintdeck {

// Names the tracked peaks under a detail graph: one entry per series that has a formatted peak
// (byte rates; percentage graphs have none, and then the legend is empty), each a dot in the
// series' colour, "Peak " with the series' marker (or label), and the peak text.
class ActivityGraphLegend final : public QWidget {
    Q_OBJECT

  public:
    struct Entry {
        QColor dot;
        QString title;  // "Peak R", "Peak ↑"
        QString value;  // "12 MB/s"
        bool operator==(const Entry&) const = default;
    };

    explicit ActivityGraphLegend(QWidget* parent = nullptr);

    void setData(const GraphData& data);
    void setStyle(const HudStyle& style);

    [[nodiscard]] const std::vector<Entry>& entries() const { return entries_; }
    [[nodiscard]] QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void rebuild(bool styleChanged);

    GraphData data_;
    HudStyle style_;
    std::vector<Entry> entries_;
};

}  // namespace glintdeck
