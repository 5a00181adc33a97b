#pragma once

// Helpers shared by the views tests: styles, clicks with screen positions, paint counting and
// pixel measures of rendered widgets.
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <map>

#include "views/hud_style.h"

namespace glintdeck::testing_support {

inline HudStyle darkStyle() { return HudStyle{Theme::makeDefault(false), Appearance::dark, false}; }

// Sends a mouse event of the left button as the platform would, with the widget-local and the
// screen position; the button is held until the release.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPointF local) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void click(QWidget* widget, QPointF local) {
    sendMouse(widget, QEvent::MouseButtonPress, local);
    sendMouse(widget, QEvent::MouseButtonRelease, local);
}

// Counts paint events per widget, and the region they painted in the widget's coordinates.
class PaintCounter final : public QObject {
  public:
    struct Paints {
        int count = 0;
        QRegion region;
    };
    void watch(QWidget* widget) { widget->installEventFilter(this); }
    [[nodiscard]] Paints of(QObject* widget) const {
        auto found = paints_.find(widget);
        return found == paints_.end() ? Paints{} : found->second;
    }
    void reset() { paints_.clear(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints_[watched].count;
            paints_[watched].region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }

  private:
    std::map<QObject*, Paints> paints_;
};

// The widget rendered alone on a transparent image at 1x.
inline QImage rendered(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The summed opacity of all pixels: more ink for heavier strokes.
inline double ink(const QImage& image) {
    double total = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) total += qAlpha(image.pixel(x, y)) / 255.0;
    }
    return total;
}

}  // namespace glintdeck::testing_support
