#include "shell/hot_key_recorder_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace glintdeck {
namespace {

// X keycodes of the positions used below (Linux input code + 8).
constexpr quint32 keyA = 38;
constexpr quint32 keyEscape = 9;
constexpr quint32 keyLeftControl = 37;
constexpr quint32 keyComma = 59;

// A settings window with a text field beside the recorder, the field focused.
class Recorder : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        field = new QLineEdit(&window);
        recorder = new HotKeyRecorderView(HotKeyBinding::defaultSummon(), &window);
        layout->addWidget(field);
        layout->addWidget(recorder);
        QObject::connect(recorder, &HotKeyRecorderView::bindingChanged,
                         [this](HotKeyBinding b) { recorded.push_back(b); });
        window.show();
        field->setFocus();
        QApplication::setActiveWindow(&window);
    }

    // A key press as the platform delivers it: to the focused widget, with its X keycode.
    void press(quint32 scanCode, Qt::Key key, Qt::KeyboardModifiers modifiers,
               const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
        QApplication::sendEvent(field, &event);
    }

    void clickRecord() { recorder->findChild<QPushButton*>()->click(); }

    [[nodiscard]] QString buttonTitle() const {
        return recorder->findChild<QPushButton*>()->text();
    }

    QWidget window;
    QLineEdit* field = nullptr;
    HotKeyRecorderView* recorder = nullptr;
    std::vector<HotKeyBinding> recorded;
};

TEST_F(Recorder, ShowsTheCombinationAndWhatTheButtonDoes) {
    const QList<QLabel*> labels = recorder->findChildren<QLabel*>();
    EXPECT_TRUE(std::ranges::any_of(
        labels, [](QLabel* label) { return label->text() == QStringLiteral("Ctrl+Alt+Super+Q"); }));
    EXPECT_EQ(buttonTitle(), "Record");
    clickRecord();
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(buttonTitle(), QString::fromUtf8("Press a combo… (Esc cancels)"));
    clickRecord();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(buttonTitle(), "Record");
}

TEST_F(Recorder, AsksForAModifierWithShiftAloneOrNoneAndKeepsRecording) {
    clickRecord();
    press(keyA, Qt::Key_A, Qt::ShiftModifier, "A");
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(recorder->hint(), QStringLiteral("Add a modifier (Ctrl, Alt or Super)"));
    press(keyComma, Qt::Key_Comma, Qt::NoModifier, ",");
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(recorder->binding(), HotKeyBinding::defaultSummon());
    EXPECT_TRUE(field->text().isEmpty()) << "recording must take the keys from the text field";
}

TEST_F(Recorder, AcceptsACombinationByItsPositionWithShiftKept) {
    clickRecord();
    press(keyA, Qt::Key_A, Qt::AltModifier | Qt::ShiftModifier, "A");
    EXPECT_FALSE(recorder->isRecording());
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0], (HotKeyBinding{0, 0x0A00}));
    EXPECT_EQ(recorder->binding(), (HotKeyBinding{0, 0x0A00}));
    // After recording, keys reach the text field again.
    press(keyA, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(field->text(), "a");
}

TEST_F(Recorder, EscapeAloneCancelsButWithSuperItIsTheCombination) {
    clickRecord();
    press(keyEscape, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(recorder->binding(), HotKeyBinding::defaultSummon());

    clickRecord();
    press(keyEscape, Qt::Key_Escape, Qt::MetaModifier);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0], (HotKeyBinding{53, 0x0100}));
}

TEST_F(Recorder, IgnoresLoneModifierKeys) {
    clickRecord();
    press(keyLeftControl, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_FALSE(recorder->hint().has_value());
    EXPECT_TRUE(recorded.empty());
}

TEST_F(Recorder, TheHintOutlivesAnAcceptedCombinationUntilTheNextRecording) {
    clickRecord();
    press(keyA, Qt::Key_A, Qt::ShiftModifier, "A");
    press(keyA, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(recorder->hint().has_value());
    clickRecord();
    EXPECT_FALSE(recorder->hint().has_value());
}

TEST_F(Recorder, StopsWhenItLeavesTheScreen) {
    clickRecord();
    window.hide();
    EXPECT_FALSE(recorder->isRecording());
    press(keyA, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(recorded.empty());
}

TEST_F(Recorder, OverridesApplicationShortcutsWhileRecording) {
    clickRecord();
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_Comma, Qt::ControlModifier, keyComma, 0,
                       0);
    override.ignore();
    QApplication::sendEvent(field, &override);
    EXPECT_TRUE(override.isAccepted()) << "Ctrl+, would open a menu item instead";
}

}  // namespace
}  // namespace glintdeck
