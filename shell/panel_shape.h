#pragma once

#include <QObject>
#include <QRegion>

class QWidget;

namespace glintdeck {

// The pixels of a SIZE rectangle with corners of RADIUS whose centres lie inside it: the
// one-bit outline a shape mask can hold.
[[nodiscard]] QRegion roundedRectRegion(QSize size, double radius);

class CompositingWatcher;

// Keeps a floating panel's outline right with and without a compositing manager: while one
// runs the window is translucent and unmasked; while none runs its corners would show black,
// so the window is cut to its rounded rectangle with a shape mask. Follows the window's size
// and the manager starting or stopping. Lives as a child of the window.
class PanelShape final : public QObject {
    Q_OBJECT

  public:
    PanelShape(QWidget& window, const CompositingWatcher& compositing, double cornerRadius);

    void setCornerRadius(double radius);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void apply();

    QWidget& window_;
    const CompositingWatcher& compositing_;
    double cornerRadius_;
};

}  // namespace glintdeck
