#pragma once

#include <QWidget>
#include <functional>

#include "core/change_notifier.h"
#include "settings/theme_data.h"

class QComboBox;
class QToolButton;

namespace glintdeck {

class AppSettings;
class ColorButton;
class SliderRow;

// The appearance pane: the theme preset, and while the preset is custom a "Customize…" group
// editing the custom theme. Its controls read the stored custom theme, or ThemeData::initial()
// when none is stored; every edit writes the whole custom theme, so the first one creates it.
// Choosing another preset hides the group and keeps the stored custom theme.
class AppearanceSettingsPane final : public QWidget {
    Q_OBJECT

  public:
    explicit AppearanceSettingsPane(AppSettings& settings, QWidget* parent = nullptr);

    [[nodiscard]] QWidget* customizeGroup() const { return customizeGroup_; }
    [[nodiscard]] QToolButton* customizeToggle() const { return customizeToggle_; }
    // Whether "Customize…" is open (it shows only while the preset is custom).
    [[nodiscard]] bool isCustomizeOpen() const { return !customizeRows_->isHidden(); }
    void setCustomizeOpen(bool open);

  private:
    [[nodiscard]] ThemeData customTheme() const;
    void edit(const std::function<void(ThemeData&)>& change);
    void refresh();

    AppSettings& settings_;
    QComboBox* presetPicker_;
    QWidget* customizeGroup_;
    QToolButton* customizeToggle_;
    QWidget* customizeRows_;
    ColorButton* accent_;
    ColorButton* background_;
    SliderRow* opacity_;
    SliderRow* cornerRadius_;
    QComboBox* densityPicker_;
    Subscription subscription_;
};

}  // namespace glintdeck
