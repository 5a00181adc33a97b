#pragma once

#include <QAbstractButton>
#include <QRectF>

class QPainter;
class QPalette;

namespace glintdeck {

// An on/off switch: a pill with a knob, filled with the highlight colour when on. A checkable
// button underneath, so clicks, Space and the toggled signal behave as a check box's do.
class SwitchButton final : public QAbstractButton {
    Q_OBJECT

  public:
    explicit SwitchButton(QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// The switch's size, and its drawing, shared with the stat list's rows.
[[nodiscard]] QSizeF switchSize();
// On a highlighted row the track takes the highlighted-text colour and the knob the highlight.
void paintSwitch(QPainter& painter, QRectF frame, bool on, bool enabled, const QPalette& palette,
                 bool onHighlight = false);

}  // namespace glintdeck
