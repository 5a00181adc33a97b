#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QSlider;

namespace glintdeck {

// A titled slider with its current value at the right of the title, the slider below. The
// slider moves in whole steps: a value is a whole number of units divided by unitsPerValue (the
// refresh interval is 1 to 20 quarter seconds), so every value written is the exact step and
// never 0.8200000000000001.
//
// While the knob is dragged the value text follows it live, but the value is committed only once,
// on release: each commit rewrites the preferences file and some restart sampling. A key press or
// a click on the groove commits at once.
class SliderRow final : public QWidget {
    Q_OBJECT

  public:
    struct Range {
        int minimumUnits = 0;
        int maximumUnits = 0;
        int unitsPerValue = 1;
    };
    using Format = std::function<QString(double value)>;

    SliderRow(const QString& title, Range range, Format format, QWidget* parent = nullptr);

    // Shows a stored value: the text shows it as it is, the knob the nearest step within the
    // range. Commits nothing.
    void setValue(double value);

    [[nodiscard]] QString valueText() const;
    [[nodiscard]] QSlider* slider() const { return slider_; }

  Q_SIGNALS:
    void valueCommitted(double value);

  private:
    [[nodiscard]] double valueAt(int position) const;

    Range range_;
    Format format_;
    QLabel* valueLabel_;
    QSlider* slider_;
};

}  // namespace glintdeck
