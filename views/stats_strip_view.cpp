#include "views/stats_strip_view.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "presentation/stat_kind_text.h"
#include "settings/key_text.h"
#include "views/panel_background.h"
#include "views/strip_parts.h"

namespace glintdeck {
namespace {

constexpr double kPinPoints = 10;
constexpr double kSettingsPoints = 12;
constexpr double kDragMinimum = 3;

QString settingsToolTip(const std::vector<StripTile>& left) {
    QString text = QStringLiteral("Settings (%1)")
                       .arg(QString::fromStdString(keyText(HotKeyBinding::openSettings())));
    for (size_t i = 0; i < left.size(); ++i) {
        text += i == 0 ? QStringLiteral("\nNo room for ") : QStringLiteral(", ");
        text += QString::fromUtf8(title(left[i].kind));
    }
    return text;
}

bool sameKinds(const std::vector<StripTile>& a, const std::vector<StripTile>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const StripTile& x, const StripTile& y) { return x.kind == y.kind; });
}

}  // namespace

StatsStripView::StatsStripView(QWidget* parent) : QWidget(parent) {
    pin_ = new SymbolView("pin.fill", kPinPoints, this);
    pin_->setSymbolVisible(false);
    settings_ = new SymbolView("gearshape", kSettingsPoints, this);
    settings_->setAccessibleName(QStringLiteral("Settings"));
    settings_->setOnPress([this] {
        if (onOpenSettings_) onOpenSettings_();
    });
    pin_->installEventFilter(this);
    settings_->installEventFilter(this);
    applyStyle();
    rebuildRow();
}

void StatsStripView::setOnTileTap(std::function<void(StatKind)> onTileTap) {
    onTileTap_ = std::move(onTileTap);
}

void StatsStripView::setOnOpenSettings(std::function<void()> onOpenSettings) {
    onOpenSettings_ = std::move(onOpenSettings);
}

StatTileView* StatsStripView::tile(StatKind kind) const {
    auto found = tileViews_.find(kind);
    return found == tileViews_.end() ? nullptr : found->second;
}

StatTileView* StatsStripView::makeTile(StatKind kind) {
    auto* tile = new StatTileView(this);
    tile->setStyle(shownStyle());
    tile->setStripHeight(stripHeight_);
    tile->setOnTap([this, kind] {
        if (onTileTap_) onTileTap_(kind);
    });
    tile->installEventFilter(this);
    tile->show();
    return tile;
}

void StatsStripView::setDescriptors(const std::vector<StatDescriptor>& descriptors,
                                    const std::function<TileStyle(StatKind)>& tileStyle) {
    std::vector<StripTile> tiles;
    tiles.reserve(descriptors.size());
    for (const StatDescriptor& descriptor : descriptors) {
        tiles.push_back(
            {descriptor.kind, TileContent::from(descriptor, tileStyle(descriptor.kind))});
    }
    setTiles(tiles);
}

void StatsStripView::setTiles(const std::vector<StripTile>& tiles) {
    // A kind has one tile; a repeated kind (which descriptor lists never hold) is dropped
    // rather than placing one widget twice.
    std::vector<StripTile> unique;
    for (const StripTile& tile : tiles) {
        bool seen = std::any_of(unique.begin(), unique.end(),
                                [&](const StripTile& kept) { return kept.kind == tile.kind; });
        if (!seen) unique.push_back(tile);
    }
    bool sameRow = sameKinds(unique, tiles_);
    tiles_ = std::move(unique);
    if (!sameRow) {
        std::map<StatKind, StatTileView*> kept;
        for (const StripTile& tile : tiles_) {
            auto found = tileViews_.find(tile.kind);
            if (found != tileViews_.end()) {
                kept.emplace(tile.kind, found->second);
                tileViews_.erase(found);
            } else {
                kept.emplace(tile.kind, makeTile(tile.kind));
            }
        }
        for (auto& [kind, view] : tileViews_) delete view;  // kinds that left the row
        tileViews_ = std::move(kept);
    }
    bool resized = false;
    for (const StripTile& tile : tiles_) {
        StatTileView* view = tileViews_.at(tile.kind);
        QSize size = view->sizeHint();
        view->setContent(tile.content);
        resized = resized || view->sizeHint() != size;
    }
    // A tile changes width only when its widest texts or style change, or a value outgrows its
    // widest form; otherwise the row stays where it is.
    if (!sameRow || resized) rebuildRow();
}

void StatsStripView::rebuildRow() {
    fitToWidth();
    for (size_t i = 0; i < tiles_.size(); ++i) {
        tileViews_.at(tiles_[i].kind)->setVisible(i < shownTiles_);
    }
    const auto firstLeftOut = tiles_.begin() + static_cast<std::ptrdiff_t>(shownTiles_);
    settings_->setToolTip(settingsToolTip(std::vector<StripTile>(firstLeftOut, tiles_.end())));
    size_t dividerCount = shownTiles_;  // between tiles, plus one before the button
    while (dividers_.size() > dividerCount) {
        delete dividers_.back();
        dividers_.pop_back();
    }
    while (dividers_.size() < dividerCount) {
        auto* divider = new DividerView(this);
        divider->setColor(style_.color(style_.theme.colors.divider));
        divider->show();
        dividers_.push_back(divider);
    }
    row_.clear();
    row_.push_back(pin_);
    for (size_t i = 0; i < shownTiles_; ++i) {
        if (i > 0) row_.push_back(dividers_[i - 1]);
        row_.push_back(tileViews_.at(tiles_[i].kind));
    }
    if (shownTiles_ > 0) row_.push_back(dividers_.back());
    row_.push_back(settings_);
    placeItems();
}

void StatsStripView::fitToWidth() {
    const auto fits = [this](size_t tileCount) {
        return std::ceil(rowWidth(tileCount)) <= availableWidth_;
    };
    if (!compact_ && !fits(tiles_.size()) && !(style_.theme == style_.theme.compacted())) {
        compact_ = true;
        applyStyle();
    }
    shownTiles_ = tiles_.size();
    while (shownTiles_ > 0 && !fits(shownTiles_)) --shownTiles_;
}

double StatsStripView::rowWidth(size_t tileCount) const {
    const Theme::Metrics metrics = shownStyle().theme.metrics;
    // Each tile brings one divider: before the next tile, or before the button.
    double width = 2 * metrics.horizontalPadding + pin_->sizeHint().width() +
                   settings_->sizeHint().width() +
                   metrics.tileSpacing * static_cast<double>(2 * tileCount + 1);
    for (size_t i = 0; i < tileCount; ++i) {
        width += tileViews_.at(tiles_[i].kind)->sizeHint().width() + DividerView::kSize.width();
    }
    return width;
}

HudStyle StatsStripView::shownStyle() const {
    HudStyle shown = style_;
    if (compact_) shown.theme = shown.theme.compacted();
    return shown;
}

QSize StatsStripView::sizeHint() const {
    return {static_cast<int>(std::ceil(rowWidth(shownTiles_))),
            static_cast<int>(std::ceil(stripHeight_))};
}

void StatsStripView::placeItems() {
    const Theme::Metrics metrics = shownStyle().theme.metrics;
    QSize natural = sizeHint();
    setFixedHeight(natural.height());  // first: the items are centred in this height
    // A strip given more room than it needs keeps its row at the natural width, centred.
    double x = metrics.horizontalPadding + std::max(0, width() - natural.width()) / 2.0;
    for (QWidget* item : row_) {
        QSize size = item->sizeHint();
        item->setGeometry(static_cast<int>(std::lround(x)), (height() - size.height()) / 2,
                          size.width(), size.height());
        x += size.width() + metrics.tileSpacing;
    }
    fillTiles();
    updateGeometry();
}

void StatsStripView::fillTiles() {
    // Tiles clear of the rounded ends paint the fill under themselves (panel_background.h).
    const QPainterPath outline =
        continuousRoundedRect(QRectF(rect()), style_.theme.metrics.cornerRadius);
    for (auto& [kind, tile] : tileViews_) {
        QRectF area(tile->geometry());
        bool plain =
            style_.opaqueBackground ? QRectF(rect()).contains(area) : outline.contains(area);
        tile->setPanelFill(plain ? std::optional<QColor>(style_.background()) : std::nullopt);
    }
}

void StatsStripView::applyStyle() {
    QColor secondary = style_.color(style_.theme.colors.secondaryText);
    pin_->setColor(secondary);
    settings_->setColor(secondary);
    QColor divider = style_.color(style_.theme.colors.divider);
    for (DividerView* view : dividers_) view->setColor(divider);
    const HudStyle shown = shownStyle();
    for (auto& [kind, tile] : tileViews_) tile->setStyle(shown);
}

void StatsStripView::setStyle(const HudStyle& style) {
    if (style == style_) return;
    style_ = style;
    compact_ = false;  // fitted again from the theme's own density
    applyStyle();
    rebuildRow();
    update();
}

void StatsStripView::setAvailableWidth(double width) {
    if (width == availableWidth_) return;
    availableWidth_ = width;
    compact_ = false;
    applyStyle();
    rebuildRow();
    update();
}

void StatsStripView::setStripHeight(double stripHeight) {
    if (stripHeight == stripHeight_) return;
    stripHeight_ = stripHeight;
    for (auto& [kind, tile] : tileViews_) tile->setStripHeight(stripHeight_);
    rebuildRow();
    update();
}

void StatsStripView::setPinned(bool pinned) {
    if (pinned == pin_->symbolVisible()) return;
    pin_->setSymbolVisible(pinned);
    pin_->setToolTip(pinned ? QStringLiteral("Pinned — Keep on Screen is on") : QString());
    pin_->setAccessibleName(pinned ? QStringLiteral("Pinned") : QString());
}

bool StatsStripView::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest) placeItems();
    return QWidget::event(event);
}

void StatsStripView::resizeEvent(QResizeEvent*) { placeItems(); }

void StatsStripView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPanelBackground(painter, QRectF(rect()), style_.theme.metrics.cornerRadius,
                         style_.background(), style_.opaqueBackground);
}

bool StatsStripView::pressed(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return false;
    drag_ = {event->globalPosition(), false};
    return false;
}

bool StatsStripView::moved(QMouseEvent* event) {
    if (!drag_.pressedAt || !(event->buttons() & Qt::LeftButton)) return false;
    QPointF translation = event->globalPosition() - *drag_.pressedAt;
    if (!drag_.dragging && std::hypot(translation.x(), translation.y()) < kDragMinimum) {
        return false;
    }
    drag_.dragging = true;
    if (onDrag_) onDrag_(translation, false);
    return true;
}

bool StatsStripView::released(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !drag_.pressedAt) return false;
    DragState finished = std::exchange(drag_, {});
    if (!finished.dragging) return false;
    // Swallowing the release keeps the tile or button under the pointer from seeing a click.
    if (onDrag_) onDrag_(event->globalPosition() - *finished.pressedAt, true);
    return true;
}

bool StatsStripView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            return pressed(static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return moved(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            return released(static_cast<QMouseEvent*>(event));
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void StatsStripView::mousePressEvent(QMouseEvent* event) {
    pressed(event);
    event->accept();
}

void StatsStripView::mouseMoveEvent(QMouseEvent* event) { moved(event); }

void StatsStripView::mouseReleaseEvent(QMouseEvent* event) { released(event); }

}  // namespace glintdeck
