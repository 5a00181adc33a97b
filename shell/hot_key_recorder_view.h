#pragma once

#include <QWidget>
#include <optional>

#include "settings/hot_key_binding.h"

class QLabel;
class QPushButton;

namespace glintdeck {

// The settings control that records a new global key combination. One row: the current
// combination ("Ctrl+Alt+Super+Q"), a button that starts and stops recording, and, after a rejected
// press, an orange hint. While recording, every key press in the application is taken by the
// control (text fields and menu shortcuts see none of them): Escape alone cancels; a key with
// Super, Alt or Control (Shift may come along) becomes the combination; anything else asks for
// a modifier and keeps recording. Lone modifier keys are ignored, as are keys without a
// position in the stored key table. Recording stops when the control leaves the screen.
//
// The binding is two-way: the owner sets it with setBinding() (no signal) and hears a newly
// recorded combination through bindingChanged().
class HotKeyRecorderView final : public QWidget {
    Q_OBJECT

  public:
    explicit HotKeyRecorderView(HotKeyBinding binding, QWidget* parent = nullptr);
    ~HotKeyRecorderView() override;

    [[nodiscard]] HotKeyBinding binding() const { return binding_; }
    void setBinding(HotKeyBinding binding);

    [[nodiscard]] bool isRecording() const { return isRecording_; }
    [[nodiscard]] const std::optional<QString>& hint() const { return hint_; }

    void startRecording();
    void stopRecording();

  Q_SIGNALS:
    void bindingChanged(glintdeck::HotKeyBinding binding);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void keyPressed(uint32_t nativeScanCode, Qt::KeyboardModifiers modifiers);
    void refresh();

    HotKeyBinding binding_;
    bool isRecording_ = false;
    std::optional<QString> hint_;
    QLabel* combination_;
    QPushButton* button_;
    QLabel* hintLabel_;
};

}  // namespace glintdeck
