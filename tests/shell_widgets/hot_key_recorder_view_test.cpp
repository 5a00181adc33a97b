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
constexpr quint32 keyA = 38, keyEscape = 9, keyLeftControl = 37, keyComma = 59;

// A settings window with a text field beside the recorder, the field focused.
struct RecorderWindow {
    RecorderWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(recorder);
        QObject::connect(recorder, &HotKeyRecorderView::bindingChanged,
                         [this](HotKeyBinding b) { recorded.push_back(b); });
        window.show();
        field->setFocus();
        QApplication::setActiveWindow(&window);
    }

    // A key press as the platform delivers it: to the focused widget, with its X keycode.
    void press(quint32 scanCode, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, QStringLiteral("a"));
        QApplication::sendEvent(field, &event);
    }

    void clickRecord() { recorder->findChild<QPushButton*>()->click(); }

    QWidget window;
    QLineEdit* field = new QLineEdit(&window);
    HotKeyRecorderView* recorder = new HotKeyRecorderView(HotKeyBinding::defaultSummon(), &window);
    std::vector<HotKeyBinding> recorded;
};

TEST(HotKeyRecorderView, TakesEveryKeyWhileRecordingAndKeepsOnlyACombination) {
    struct Row {
        const char* name;
        quint32 scanCode;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool recording, hint;
        std::vector<HotKeyBinding> recorded;
    };
    // clang-format off
    const Row rows[] = {
        {"Shift alone asks for a modifier", keyA, Qt::Key_A, Qt::ShiftModifier, true, true, {}},
        {"so does no modifier", keyComma, Qt::Key_Comma, Qt::NoModifier, true, true, {}},
        {"a lone modifier key", keyLeftControl, Qt::Key_Control, Qt::ControlModifier, true, false,
         {}},
        {"Esc alone cancels", keyEscape, Qt::Key_Escape, Qt::NoModifier, false, false, {}},
        {"with Super, Esc is the combination", keyEscape, Qt::Key_Escape, Qt::MetaModifier, false,
         false, {{53, 0x0100}}},
        {"a position, with Shift kept", keyA, Qt::Key_A, Qt::AltModifier | Qt::ShiftModifier,
         false, false, {{0, 0x0A00}}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecorderWindow w;
        w.clickRecord();
        w.press(row.scanCode, row.key, row.modifiers);
        EXPECT_EQ(w.recorder->isRecording(), row.recording);
        EXPECT_EQ(w.recorder->hint().has_value(), row.hint);
        EXPECT_EQ(w.recorded, row.recorded);
        EXPECT_EQ(w.recorder->binding(),
                  row.recorded.empty() ? HotKeyBinding::defaultSummon() : row.recorded[0]);
        EXPECT_TRUE(w.field->text().isEmpty()) << "recording must take the keys from the field";
    }
}

TEST(HotKeyRecorderView, RecordsBetweenTheButtonAndACombinationOrLeavingTheScreen) {
    RecorderWindow w;
    const QList<QLabel*> labels = w.recorder->findChildren<QLabel*>();
    EXPECT_TRUE(std::ranges::any_of(
        labels, [](QLabel* label) { return label->text() == QStringLiteral("Ctrl+Alt+Super+Q"); }));
    w.clickRecord();
    EXPECT_TRUE(w.recorder->isRecording());
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_Comma, Qt::ControlModifier, keyComma, 0,
                       0);
    override.ignore();
    QApplication::sendEvent(w.field, &override);
    EXPECT_TRUE(override.isAccepted()) << "Ctrl+, would open a menu item instead";
    w.clickRecord();
    EXPECT_FALSE(w.recorder->isRecording());

    // The hint outlives an accepted combination until the next recording.
    w.clickRecord();
    w.press(keyA, Qt::Key_A, Qt::ShiftModifier);
    w.press(keyA, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(w.recorder->isRecording());
    EXPECT_TRUE(w.recorder->hint().has_value());
    w.press(keyA, Qt::Key_A, Qt::NoModifier);
    EXPECT_EQ(w.field->text(), "a") << "after recording, keys reach the text field again";
    w.clickRecord();
    EXPECT_FALSE(w.recorder->hint().has_value());

    w.window.hide();
    EXPECT_FALSE(w.recorder->isRecording());
    w.press(keyA, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(w.recorded.size(), 1u);
}

}  // namespace
}  // namespace glintdeck
