#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <memory>
#include <string>
#include <vector>

#include "settings/app_settings.h"
#include "settings_window/settings_services.h"
#include "settings_window/slider_row.h"
#include "tests/settings_window/fake_services.h"

namespace glintdeck {

// Settings over an in-memory store, and services whose every call the test can see.
class PaneTest : public testing::Test {
  protected:
    std::unique_ptr<AppSettings> settings_ =
        std::make_unique<AppSettings>(PreferencesStore::inMemory());
    SettingsServices services_;
};

template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

// What a user's choice in a picker does: select the item, then report the activation.
inline void choose(QComboBox& picker, const QString& text) {
    int index = picker.findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    picker.setCurrentIndex(index);
    Q_EMIT picker.activated(index);
}

// Presses the knob, drags it to the step at `position` and, when asked, lets go.
inline void drag(SliderRow& row, int position, bool release = true) {
    QSlider* slider = row.slider();
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    if (release) slider->setSliderDown(false);
}

}  // namespace glintdeck
