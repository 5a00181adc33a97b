#include "views/stat_tile_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "views/activity_graph_view.h"
#include "views/panel_background.h"
#include "views/symbol_painter.h"

namespace glintdeck {
namespace {

constexpr double kSpacing = 5;
constexpr double kIconFrameWidth = 16;
constexpr double kIconPoints = 11;
constexpr double kGraphWidth = 34;
constexpr double kBarWidth = 1;
constexpr double kBarGap = 0.5;

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

// Whether a change from `a` to `b` can move or resize a part of the tile.
bool changesLayout(const TileContent& a, const TileContent& b) {
    return a.value != b.value || a.widestValue != b.widestValue ||
           a.secondaryValue != b.secondaryValue ||
           a.widestSecondaryValue != b.widestSecondaryValue || a.band != b.band ||
           a.style != b.style || a.graph.has_value() != b.graph.has_value();
}

}  // namespace

TileContent TileContent::from(const StatDescriptor& descriptor, TileStyle style) {
    return {
        .symbol = descriptor.symbol,
        .value = descriptor.value,
        .widestValue = descriptor.widestValue,
        .secondaryValue = descriptor.secondaryValue,
        .widestSecondaryValue = descriptor.widestSecondaryValue,
        .band = descriptor.band,
        .tint = descriptor.tint,
        .style = style,
        .graph = style == TileStyle::text ? std::nullopt : descriptor.graph,
    };
}

double StatTileView::graphHeight(double stripHeight) {
    return std::min(26.0, std::max(12.0, stripHeight - 14));
}

StatTileView::StatTileView(QWidget* parent) : QWidget(parent) {
    graph_ = new ActivityGraphView(QSizeF(kGraphWidth, graphHeight(stripHeight_)), kBarWidth,
                                   kBarGap, this);
    graph_->hide();
    relayout();
}

bool StatTileView::showsText() const { return content_.style != TileStyle::graph; }

bool StatTileView::showsGraph() const {
    return content_.style != TileStyle::text && content_.graph.has_value();
}

const HudText& StatTileView::valueText(FontWeight weight) const {
    auto found = valueTexts_.find(weight);
    if (found == valueTexts_.end()) {
        const FontDescription& font = style_.theme.fonts.value;
        found = valueTexts_.emplace(weight, HudText(hudFont(font, weight), font.monospacedDigits))
                    .first;
    }
    return found->second;
}

StatTileView::Layout StatTileView::layout() const {
    // The reserved width: the widest text in the heavy weight, or the shown text when it has
    // outgrown its widest form (a tile widens rather than cutting a value off).
    const HudText& heavy = valueText(FontWeight::heavy);
    const HudText& shown = valueText(bandWeight(content_.band));
    auto reservedWidth = [&](const std::string& value, const std::string& widest) {
        return std::max(heavy.width(text(widest)), shown.width(text(value)));
    };
    Layout layout;
    QSizeF icon = symbolSize(kIconPoints);
    double textHeight = heavy.height();
    double graphHeight = StatTileView::graphHeight(stripHeight_);
    double height = std::max(icon.height(), showsText() ? textHeight : 0.0);
    if (showsGraph()) height = std::max(height, graphHeight);

    auto centred = [&](double x, double width, double partHeight) {
        return QRectF(x, (height - partHeight) / 2, width, partHeight);
    };
    layout.icon = centred(0, kIconFrameWidth, icon.height());
    double x = kIconFrameWidth;
    if (showsText()) {
        double width = reservedWidth(content_.value, content_.widestValue);
        layout.main = centred(x + kSpacing, width, textHeight);
        x = layout.main->right();
        if (content_.secondaryValue && content_.widestSecondaryValue) {
            double second = reservedWidth(*content_.secondaryValue, *content_.widestSecondaryValue);
            layout.second = centred(x + kSpacing, second, textHeight);
            x = layout.second->right();
        }
    }
    if (showsGraph()) {
        layout.graph = centred(x + kSpacing, kGraphWidth, graphHeight);
        x = layout.graph->right();
    }
    layout.size = QSizeF(x, height);
    return layout;
}

QSize StatTileView::sizeHint() const {
    return {static_cast<int>(std::ceil(layout_.size.width())),
            static_cast<int>(std::ceil(layout_.size.height()))};
}

void StatTileView::relayout() {
    Layout next = layout();
    bool resized = next.size != layout_.size;
    layout_ = next;
    graph_->setVisible(layout_.graph.has_value());
    if (layout_.graph) {
        graph_->setSurfaceSize(QSizeF(kGraphWidth, graphHeight(stripHeight_)));
        graph_->move(static_cast<int>(std::lround(layout_.graph->x())),
                     static_cast<int>(std::lround(layout_.graph->y())));
    }
    if (resized) {
        setFixedSize(sizeHint());
        updateGeometry();
    }
}

void StatTileView::setContent(const TileContent& content) {
    if (content == content_) return;
    TileContent previous = std::exchange(content_, content);
    if (content_.graph) graph_->setData(*content_.graph);
    if (changesLayout(previous, content_)) relayout();
    bool textChanged = previous.symbol != content_.symbol || previous.value != content_.value ||
                       previous.secondaryValue != content_.secondaryValue ||
                       previous.band != content_.band || previous.tint != content_.tint ||
                       previous.style != content_.style ||
                       previous.widestSecondaryValue != content_.widestSecondaryValue;
    if (textChanged) {
        // The graph repaints itself when its data changes; the texts and icon are left of it.
        update(QRect(0, 0, graph_->isHidden() ? width() : graph_->x(), height()));
    }
}

void StatTileView::setStyle(const HudStyle& style) {
    graph_->setStyle(style);
    if (style == style_) return;
    style_ = style;
    valueTexts_.clear();
    relayout();
    update();
}

void StatTileView::setStripHeight(double stripHeight) {
    if (stripHeight == stripHeight_) return;
    stripHeight_ = stripHeight;
    relayout();
    update();
}

void StatTileView::setPanelFill(std::optional<QColor> fill) {
    glintdeck::setPanelFill(*this, fill_, fill);
    graph_->setPanelFill(fill);
}

void StatTileView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintPanelFill(painter, event->rect(), fill_);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    FontWeight weight = bandWeight(content_.band);
    symbol_.draw(painter, layout_.icon, content_.symbol, kIconPoints, weight,
                 style_.tint(content_.tint));
    painter.setPen(style_.color(style_.theme.colors.primaryText));
    const HudText& shown = valueText(weight);
    if (layout_.main) shown.draw(painter, layout_.main->topLeft(), text(content_.value));
    if (layout_.second) {
        shown.draw(painter, layout_.second->topLeft(), text(*content_.secondaryValue));
    }
}

void StatTileView::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void StatTileView::mouseReleaseEvent(QMouseEvent* event) {
    bool tapped = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressed_ = false;
    event->accept();
    if (tapped && onTap_) onTap_();
}

}  // namespace glintdeck
