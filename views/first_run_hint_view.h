#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>

#include "views/hud_style.h"

namespace glintdeck {

// The card shown once after the first launch: that the program runs, which key combination
// summons the strip (in a key cap) and how the strip goes away; or, where the user has yet to
// bind the key, that one step remains and which. Padding 14, at least 220 wide, on a rounded
// background. No controls.
class FirstRunHintView final : public QWidget {
    Q_OBJECT

  public:
    // `hotKey` is the summon binding's text, "Ctrl+Alt+Super+Q"; fixed while the hint is up.
    explicit FirstRunHintView(QString hotKey, QWidget* parent = nullptr);

    void setStyle(const HudStyle& style);

    // Where nothing binds the summon key (a Wayland desktop without a shortcut portal), one
    // sentence saying how to bind it replaces the "Press … anytime" row, and the greeting says
    // that a step remains. Empty: that row.
    void setInstruction(QString instruction);

    // The first line: kGreeting, or kStepLeft while there is an instruction.
    [[nodiscard]] QString greeting() const;

    [[nodiscard]] QSize sizeHint() const override;

    static constexpr const char16_t* kGreeting = u"You're all set 👋";
    static constexpr const char16_t* kStepLeft = u"One step left 👋";
    static constexpr const char16_t* kPress = u"Press";
    static constexpr const char16_t* kAfterKey = u"anytime to pop up your stats.";
    static constexpr const char16_t* kFootnote = u"Esc or click away hides it · ⚙ for settings";

    struct Layout {
        QRectF greeting;
        QRectF press;
        QRectF keyCap;  // the rounded rectangle; its text is inset 6 × 2
        QRectF afterKey;
        QRectF instruction;  // empty unless there is one, and then the three above are
        QRectF footnote;
        QSizeF size;
    };
    [[nodiscard]] Layout layout() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Lays out the "Press … anytime" row from y; returns where the next row starts.
    double keyRow(Layout& layout, double y) const;

    QString hotKey_;
    QString instruction_;
    HudStyle style_;
};

}  // namespace glintdeck
