#include "settings_window/slider_row.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace glintdeck {

SliderRow::SliderRow(const QString& title, Range range, Format format, QWidget* parent)
    : QWidget(parent), range_(range), format_(std::move(format)) {
    auto* titleLabel = new QLabel(title, this);
    valueLabel_ = new QLabel(this);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    valueLabel_->setFont(fixed);
    valueLabel_->setForegroundRole(QPalette::PlaceholderText);
    valueLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(range.minimumUnits, range.maximumUnits);
    slider_->setSingleStep(1);
    slider_->setPageStep(std::max(1, (range.maximumUnits - range.minimumUnits) / 10));
    // Without tracking, valueChanged comes once a drag ends; sliderMoved reports the drag.
    slider_->setTracking(false);
    connect(slider_, &QSlider::sliderMoved, this,
            [this](int position) { valueLabel_->setText(format_(valueAt(position))); });
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        double value = valueAt(position);
        valueLabel_->setText(format_(value));
        Q_EMIT valueCommitted(value);
    });

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addWidget(titleLabel);
    header->addStretch(1);
    header->addWidget(valueLabel_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addLayout(header);
    column->addWidget(slider_);
}

void SliderRow::setValue(double value) {
    valueLabel_->setText(format_(value));
    double units = std::round(value * range_.unitsPerValue);
    int position =
        std::isfinite(units)
            ? static_cast<int>(std::clamp<double>(units, range_.minimumUnits, range_.maximumUnits))
            : range_.minimumUnits;
    QSignalBlocker blocker(slider_);
    slider_->setValue(position);
}

QString SliderRow::valueText() const { return valueLabel_->text(); }

double SliderRow::valueAt(int position) const {
    return static_cast<double>(position) / range_.unitsPerValue;
}

}  // namespace glintdeck
