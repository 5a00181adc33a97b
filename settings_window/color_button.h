#pragma once

#include <QColor>
#include <QPushButton>

class QColorDialog;

namespace glintdeck {

// A colour well: a button filled with the current colour that opens a colour dialog without an
// opacity control. The picked colour is reported once, when the dialog is accepted, since each
// report rewrites the preferences file.
class ColorButton final : public QPushButton {
    Q_OBJECT

  public:
    ColorButton(const QString& dialogTitle, QWidget* parent = nullptr);

    void setColor(const QColor& color);  // shows it; reports nothing
    [[nodiscard]] QColor color() const { return color_; }

    // The open dialog, if any.
    [[nodiscard]] QColorDialog* dialog() const;

  Q_SIGNALS:
    void colorPicked(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void openDialog();

    QString dialogTitle_;
    QColor color_;
};

}  // namespace glintdeck
