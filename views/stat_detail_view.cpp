#include "views/stat_detail_view.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>

#include "views/activity_graph_legend.h"
#include "views/activity_graph_view.h"
#include "views/hud_text.h"
#include "views/panel_background.h"

namespace glintdeck {
namespace {

constexpr double kPadding = 12;
constexpr double kSpacing = 6;
constexpr double kMinimumWidth = 200;
constexpr double kColumnGap = 24;  // least space between a row's label and its value
constexpr double kDividerPadding = 2;
constexpr QSizeF kGraphSize{220, 44};
constexpr double kShortestGraph = 16;  // a card short of room shortens its graph this far
constexpr double kBarWidth = 2;
constexpr double kBarGap = 1;
// A process name adds at most this much to the card's natural width; longer names are
// shortened in the middle instead of stretching the card across the screen.
constexpr double kNameWidthCap = 160;

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QSize ceilSize(QSizeF size) {
    return {static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height()))};
}

}  // namespace

StatDetailView::StatDetailView(QWidget* parent) : QWidget(parent) {
    graph_ = new ActivityGraphView(kGraphSize, kBarWidth, kBarGap, this);
    legend_ = new ActivityGraphLegend(this);
    graph_->hide();
    legend_->hide();
    relayout();
}

int StatDetailView::reservedProcessRows() const {
    const StatDescriptor& descriptor = *descriptor_;
    // Before the first process list the section's room is kept empty, so the card has its final
    // height from the moment it is placed.
    if (descriptor.processSection && !descriptor.processSection->rows.empty()) {
        return std::max(0, descriptor.processSection->reservedRows);
    }
    return listsTopProcesses(descriptor.kind) ? StatDescriptor::ProcessSection{}.reservedRows : 0;
}

StatDetailView::Layout StatDetailView::layout(double width, double height) const {
    if (!descriptor_) {
        Layout layout;
        layout.size = layout.naturalSize = QSizeF(kMinimumWidth, 2 * kPadding);
        return layout;
    }
    Shape shape{.processRows = reservedProcessRows(),
                .graphHeight = descriptor_->graph ? kGraphSize.height() : 0,
                .detailRows = descriptor_->detail.size()};
    Layout fitted = arrange(width, shape);
    const QSizeF natural = fitted.size;
    while (height > 0 && fitted.size.height() > height &&
           shrink(shape, fitted.size.height() - height, fitted)) {
        fitted = arrange(width, shape);
    }
    fitted.naturalSize = natural;
    return fitted;
}

bool StatDetailView::shrink(Shape& shape, double excess, const Layout& current) {
    // Each row takes its height and the spacing before it.
    auto rowsToDrop = [&](const TextRow& row) {
        return static_cast<int>(std::ceil(excess / (row.rect.height() + kSpacing)));
    };
    if (shape.processRows > 0) {
        shape.processRows = std::max(0, shape.processRows - rowsToDrop(current.processRows[0]));
    } else if (shape.graphHeight > kShortestGraph) {
        shape.graphHeight = std::max(kShortestGraph, shape.graphHeight - excess);
    } else if (shape.graphHeight > 0) {
        shape.graphHeight = 0;
    } else if (shape.detailRows > 0) {
        const auto drop = static_cast<size_t>(rowsToDrop(current.rows[0]));
        shape.detailRows -= std::min(shape.detailRows, drop);
    } else {
        return false;
    }
    return true;
}

StatDetailView::Layout StatDetailView::arrange(double width, const Shape& shape) const {
    Layout layout;
    const StatDescriptor& descriptor = *descriptor_;
    const Theme::Fonts& fonts = style_.theme.fonts;
    HudText title(hudFont(fonts.detailTitle), fonts.detailTitle.monospacedDigits);
    HudText value(hudFont(fonts.detailValue), fonts.detailValue.monospacedDigits);
    double rowHeight = std::max(title.height(), value.height());
    const StatDescriptor::ProcessSection* section =
        descriptor.processSection && !descriptor.processSection->rows.empty()
            ? &*descriptor.processSection
            : nullptr;

    double content = 0;
    QSize legendSize = legend_->sizeHint();
    if (descriptor.graph) {
        content = std::max({content, kGraphSize.width(), 1.0 * legendSize.width()});
    }
    for (const auto& [label, shown] : descriptor.detail) {
        content =
            std::max(content, title.width(text(label)) + kColumnGap + value.width(text(shown)));
    }
    if (section) {
        content = std::max(content, title.width(text(section->title)));
        for (const auto& [name, shown] : section->rows) {
            content = std::max(content, std::min(value.width(text(name)), kNameWidthCap) +
                                            kColumnGap + value.width(text(shown)));
        }
    }
    double natural = std::max(kMinimumWidth, std::ceil(content) + 2 * kPadding);
    double inner = (width > 0 ? width : natural) - 2 * kPadding;

    double y = kPadding;
    bool first = true;
    auto next = [&](double height) {
        if (!first) y += kSpacing;
        first = false;
        double top = y;
        y += height;
        return top;
    };
    auto dividerTop = [&] { return next(2 * kDividerPadding + 1) + kDividerPadding; };

    if (shape.graphHeight > 0) {
        const QSizeF graph(kGraphSize.width(), shape.graphHeight);
        layout.graph = QRectF(QPointF(kPadding, next(graph.height())), graph);
        if (!legendSize.isEmpty()) {
            layout.legend = QRectF(kPadding, next(legendSize.height()), legendSize.width(),
                                   legendSize.height());
        }
        layout.dividers.push_back(dividerTop());
    }
    for (size_t i = 0; i < shape.detailRows; ++i) {
        const auto& [label, shown] = descriptor.detail[i];
        layout.rows.push_back(
            {QRectF(kPadding, next(rowHeight), inner, rowHeight), text(label), text(shown)});
    }
    if (shape.processRows > 0) {
        const double dividerY = dividerTop();
        const QRectF titleRect(kPadding, next(title.height()), inner, title.height());
        if (section) {
            layout.dividers.push_back(dividerY);
            layout.processTitle = titleRect;
        }
        for (int i = 0; i < shape.processRows; ++i) {
            QRectF rect(kPadding, next(value.height()), inner, value.height());
            if (!section || static_cast<size_t>(i) >= section->rows.size()) {
                layout.processRows.push_back(
                    {rect, QStringLiteral(" "), QStringLiteral(" "), false});
                continue;
            }
            QString shown = text(section->rows[static_cast<size_t>(i)].second);
            double room = inner - kColumnGap - value.width(shown);
            QString name =
                value.elidedMiddle(text(section->rows[static_cast<size_t>(i)].first), room);
            layout.processRows.push_back({rect, name, shown, true});
        }
    }
    layout.size = QSizeF(natural, y + kPadding);
    return layout;
}

QSize StatDetailView::sizeHint() const { return ceilSize(layout_.naturalSize); }

void StatDetailView::relayout() {
    QSizeF before = layout_.naturalSize;
    const bool resized = testAttribute(Qt::WA_Resized);
    layout_ = layout(resized ? width() : 0, resized ? height() : 0);
    graph_->setVisible(layout_.graph.has_value());
    if (layout_.graph) {
        graph_->setSurfaceSize(layout_.graph->size());
        graph_->move(layout_.graph->topLeft().toPoint());
    }
    legend_->setVisible(layout_.legend.has_value());
    if (layout_.legend) legend_->setGeometry(layout_.legend->toAlignedRect());
    if (layout_.naturalSize != before) updateGeometry();
}

void StatDetailView::setDescriptor(const std::optional<StatDescriptor>& descriptor) {
    if (descriptor == descriptor_) return;
    std::optional<StatDescriptor> previous = std::exchange(descriptor_, descriptor);
    if (descriptor_ && descriptor_->graph) {
        graph_->setData(*descriptor_->graph);
        legend_->setData(*descriptor_->graph);
    }
    relayout();
    auto rowsOf = [](const std::optional<StatDescriptor>& d) {
        return d ? std::make_pair(d->detail, d->processSection)
                 : std::make_pair(std::vector<StatDescriptor::Row>{},
                                  std::optional<StatDescriptor::ProcessSection>{});
    };
    bool graphShown = previous && previous->graph;
    bool graphShowing = descriptor_ && descriptor_->graph;
    if (rowsOf(previous) != rowsOf(descriptor_) || graphShown != graphShowing) {
        // The graph and legend repaint themselves when their data changes.
        QRegion region(rect());
        if (graph_->isVisible()) region -= graph_->geometry();
        if (legend_->isVisible()) region -= legend_->geometry();
        update(region);
    }
}

void StatDetailView::setStyle(const HudStyle& style) {
    graph_->setStyle(style);
    legend_->setStyle(style);
    if (style == style_) return;
    style_ = style;
    relayout();
    update();
}

void StatDetailView::resizeEvent(QResizeEvent*) { relayout(); }

void StatDetailView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Theme& theme = style_.theme;
    paintPanelBackground(painter, QRectF(rect()), theme.metrics.cornerRadius, style_.background(),
                         style_.opaqueBackground);
    if (!descriptor_) return;

    QColor primary = style_.color(theme.colors.primaryText);
    QColor secondary = style_.color(theme.colors.secondaryText);
    QColor divider = style_.color(theme.colors.divider);
    HudText title(hudFont(theme.fonts.detailTitle), theme.fonts.detailTitle.monospacedDigits);
    HudText value(hudFont(theme.fonts.detailValue), theme.fonts.detailValue.monospacedDigits);
    double inner = width() - 2 * kPadding;

    painter.setRenderHint(QPainter::Antialiasing, false);
    for (double y : layout_.dividers) painter.fillRect(QRectF(kPadding, y, inner, 1), divider);

    auto drawRow = [&](const TextRow& row, const HudText& leftFont, const QColor& leftColor,
                       const QColor& rightColor) {
        if (!row.visible) return;
        painter.setPen(leftColor);
        leftFont.draw(painter,
                      QPointF(row.rect.left(), row.rect.center().y() - leftFont.height() / 2),
                      row.left);
        painter.setPen(rightColor);
        value.draw(painter,
                   QPointF(row.rect.right() - value.width(row.right),
                           row.rect.center().y() - value.height() / 2),
                   row.right);
    };
    for (const TextRow& row : layout_.rows) drawRow(row, title, secondary, primary);
    if (layout_.processTitle) {
        painter.setPen(secondary);
        title.draw(painter, layout_.processTitle->topLeft(),
                   text(descriptor_->processSection->title));
    }
    for (const TextRow& row : layout_.processRows) drawRow(row, value, primary, secondary);
}

}  // namespace glintdeck
