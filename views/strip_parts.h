#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <string>

#include "views/hud_style.h"

namespace glintdeck {

// The thin bar between tiles: 1 × 18 points in the theme's divider colour.
class DividerView final : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kSize{1, 18};

    explicit DividerView(QWidget* parent = nullptr);
    void setColor(const QColor& color);
    [[nodiscard]] QSize sizeHint() const override { return kSize; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
};

// A symbol drawn on its own: the strip's pin indicator and, with a press action, its settings
// button (no button chrome; the whole symbol area is the click target). A hidden symbol keeps
// its place, so toggling it moves nothing else.
class SymbolView final : public QWidget {
    Q_OBJECT

  public:
    SymbolView(std::string symbol, double pointSize, QWidget* parent = nullptr);

    void setColor(const QColor& color);
    void setSymbolVisible(bool visible);
    void setOnPress(std::function<void()> onPress) { onPress_ = std::move(onPress); }

    [[nodiscard]] bool symbolVisible() const { return visible_; }
    [[nodiscard]] QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::string symbol_;
    double pointSize_;
    QColor color_;
    bool visible_ = true;
    bool pressed_ = false;
    std::function<void()> onPress_;
};

}  // namespace glintdeck
