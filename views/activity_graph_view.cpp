#include "views/activity_graph_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "views/graph_geometry.h"
#include "views/panel_background.h"

namespace glintdeck {

ActivityGraphView::ActivityGraphView(QSizeF surface, double barWidth, double barGap,
                                     QWidget* parent)
    : QWidget(parent), surface_(surface), barWidth_(barWidth), barGap_(barGap) {
    setAttribute(Qt::WA_TransparentForMouseEvents);  // clicks belong to the tile around it
    setFixedSize(sizeHint());
}

QSize ActivityGraphView::sizeHint() const {
    return {static_cast<int>(std::ceil(surface_.width())),
            static_cast<int>(std::ceil(surface_.height()))};
}

void ActivityGraphView::setData(const GraphData& data) {
    if (data == data_) return;
    data_ = data;
    update();
}

void ActivityGraphView::setStyle(const HudStyle& style) {
    const Theme::Colors& colors = style.theme.colors;
    QColor baseline = style.color(colors.divider);
    QColor upper = style.color(colors.graphPrimary);
    QColor lower = style.color(colors.graphSecondary);
    if (baseline == baseline_ && upper == upper_ && lower == lower_) return;
    baseline_ = baseline;
    upper_ = upper;
    lower_ = lower;
    update();
}

void ActivityGraphView::setSurfaceSize(QSizeF surface) {
    if (surface == surface_) return;
    surface_ = surface;
    setFixedSize(sizeHint());
    update();
}

void ActivityGraphView::setPanelFill(std::optional<QColor> fill) {
    glintdeck::setPanelFill(*this, fill_, fill);
}

void ActivityGraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPanelFill(painter, rect(), fill_);
    painter.translate((width() - surface_.width()) / 2, (height() - surface_.height()) / 2);
    GraphGeometry geometry = graphGeometry(data_, surface_, barWidth_, barGap_);

    // The line fills the pixel row at the bars' base; a one-series graph's base is the bottom
    // edge, so its line takes the last row inside the surface rather than the one below it.
    const double row = std::min(geometry.baseline, surface_.height() - 1);
    painter.fillRect(QRectF(0, row, surface_.width(), 1), baseline_);

    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const QRectF& bar : geometry.upper) painter.fillRect(bar, upper_);
    for (const QRectF& bar : geometry.lower) painter.fillRect(bar, lower_);
}

}  // namespace glintdeck
