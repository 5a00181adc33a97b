#include "views/activity_graph_legend.h"

#include <QPainter>
#include <cmath>

#include "views/hud_text.h"

namespace glintdeck {
namespace {

constexpr double kEntrySpacing = 12;
constexpr double kPartSpacing = 4;
constexpr double kDot = 6;

std::optional<ActivityGraphLegend::Entry> entryFor(const GraphSeries& series, QColor dot) {
    if (!series.peakFormatted) return std::nullopt;
    const std::string& name = series.marker.empty() ? series.label : series.marker;
    return ActivityGraphLegend::Entry{dot, QStringLiteral("Peak ") + QString::fromStdString(name),
                                      QString::fromStdString(*series.peakFormatted)};
}

}  // namespace

ActivityGraphLegend::ActivityGraphLegend(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ActivityGraphLegend::setData(const GraphData& data) {
    data_ = data;
    rebuild(false);
}

void ActivityGraphLegend::setStyle(const HudStyle& style) {
    if (style == style_) return;
    style_ = style;
    rebuild(true);  // fonts may have changed even where the entries did not
}

// The graph's values change at every sample, but the legend shows none of them: it repaints
// only when its entries (or the style) change.
void ActivityGraphLegend::rebuild(bool styleChanged) {
    const Theme::Colors& colors = style_.theme.colors;
    std::vector<Entry> entries;
    if (auto upper = entryFor(data_.upper, style_.color(colors.graphPrimary))) {
        entries.push_back(*upper);
    }
    if (data_.lower) {
        if (auto lower = entryFor(*data_.lower, style_.color(colors.graphSecondary))) {
            entries.push_back(*lower);
        }
    }
    if (entries == entries_ && !styleChanged) return;
    entries_ = std::move(entries);
    updateGeometry();
    update();
}

QSize ActivityGraphLegend::sizeHint() const {
    if (entries_.empty()) return {0, 0};
    HudText title(hudFont(style_.theme.fonts.detailTitle), false);
    HudText value(hudFont(style_.theme.fonts.detailValue),
                  style_.theme.fonts.detailValue.monospacedDigits);
    double width = kEntrySpacing * static_cast<double>(entries_.size() - 1);
    for (const Entry& entry : entries_) {
        width += kDot + kPartSpacing + title.width(entry.title) + kPartSpacing +
                 value.width(entry.value);
    }
    double height = std::max({kDot, title.height(), value.height()});
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height))};
}

void ActivityGraphLegend::paintEvent(QPaintEvent*) {
    if (entries_.empty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const Theme& theme = style_.theme;
    HudText title(hudFont(theme.fonts.detailTitle), false);
    HudText value(hudFont(theme.fonts.detailValue), theme.fonts.detailValue.monospacedDigits);
    double middle = height() / 2.0;
    double x = 0;
    for (const Entry& entry : entries_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(entry.dot);
        painter.drawEllipse(QRectF(x, middle - kDot / 2, kDot, kDot));
        x += kDot + kPartSpacing;
        painter.setPen(style_.color(theme.colors.secondaryText));
        title.draw(painter, QPointF(x, middle - title.height() / 2), entry.title);
        x += title.width(entry.title) + kPartSpacing;
        painter.setPen(style_.color(theme.colors.primaryText));
        value.draw(painter, QPointF(x, middle - value.height() / 2), entry.value);
        x += value.width(entry.value) + kEntrySpacing;
    }
}

}  // namespace glintdeck
