#pragma once

#include <QComboBox>
#include <QSignalBlocker>
#include <QString>
#include <string_view>

class QFrame;
class QGroupBox;
class QLabel;
class QWidget;

namespace glintdeck {

// The small building blocks every pane shares, so texts of one kind look alike everywhere.

// Text sizes relative to the window's body font, as a desktop's type scale names them.
enum class TextStyle { caption, callout, subheadline, body, title };

[[nodiscard]] QString qText(std::string_view text);

// A wrapped label in the given style; secondary labels take the dimmer text colour.
[[nodiscard]] QLabel* makeLabel(const QString& text, TextStyle style, bool secondary,
                                QWidget* parent);

// A titled section of a form.
[[nodiscard]] QGroupBox* makeSection(const QString& title, QWidget* parent);

// A thin horizontal or vertical line.
[[nodiscard]] QFrame* makeDivider(bool vertical, QWidget* parent);

// Gives a dialog the palette its parent shows: a dialog is a window of its own, and windows do
// not inherit the settings window's dark or light palette.
void sharePalette(QWidget& dialog, const QWidget& parent);

// Sets a widget's font to a text style of the current application font.
void applyTextStyle(QWidget& widget, TextStyle style, bool bold = false);

// Shows the picker entry whose item data is value without announcing it, so refreshing a pane
// from the settings does not write the same value back.
template <typename Enum>
void selectData(QComboBox& picker, Enum value) {
    QSignalBlocker blocker(&picker);
    picker.setCurrentIndex(picker.findData(static_cast<int>(value)));
}

}  // namespace glintdeck
