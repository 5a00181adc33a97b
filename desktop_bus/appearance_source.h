#pragma once

#include <QDBusConnection>
#include <QDBusVariant>
#include <QMap>
#include <QObject>
#include <QPalette>
#include <QTimer>
#include <QVariant>
#include <cstdint>
#include <optional>

#include "core/change_notifier.h"
#include "settings/color.h"
#include "settings/reduce_transparency_source.h"

namespace glintdeck {

// The desktop's dark or light appearance and whether translucency should be given up, followed
// while the program runs. The appearance comes from the XDG desktop portal's
// org.freedesktop.appearance "color-scheme" (1 dark, 2 light), and without a portal answer (or
// with "no preference") from the lightness of the application palette. Reduce transparency is on
// while no compositing manager runs (the shell reports it) or the portal asks for high contrast.
// Every D-Bus call is asynchronous with a short timeout, so a missing or slow portal never delays
// start-up; until it answers the palette decides. Changes the portal announces are applied a
// frame later, all at once, so a portal flipping dark and light thousands of times a second
// restyles the views at most once a frame. The settings follow it through the
// ReduceTransparencySource interface; views and the shell through the Qt signals.
class AppearanceSource final : public QObject, public ReduceTransparencySource {
    Q_OBJECT

  public:
    explicit AppearanceSource(QDBusConnection bus = QDBusConnection::sessionBus(),
                              QObject* parent = nullptr);

    // Asks the portal for both settings and subscribes to its change signal.
    void start();

    [[nodiscard]] Appearance appearance() const;
    [[nodiscard]] bool reduceTransparency() const override;
    [[nodiscard]] Subscription subscribe(std::function<void()> onChange) override;

    // The shell follows the compositing-manager selection and reports it here.
    void setCompositingActive(bool active);

  Q_SIGNALS:
    void appearanceChanged(glintdeck::Appearance appearance);
    void reduceTransparencyChanged(bool reduceTransparency);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private Q_SLOTS:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

  private:
    void read(const QString& key);
    void store(const QString& key, const QVariant& value);
    void applyAnnounced();
    void publish();  // signals what changed since the last signal

    QDBusConnection bus_;
    // Announced values not yet applied, of the keys we follow; the timer applies them.
    QMap<QString, QVariant> announced_;
    QTimer applyTimer_;
    std::optional<Appearance> portalAppearance_;
    bool highContrast_ = false;
    bool compositingActive_ = true;
    ChangeNotifier<bool> reduceTransparencyNotifier_;
    struct {
        Appearance appearance = Appearance::dark;
        bool reduceTransparency = false;
    } published_;
};

// 1 dark, 2 light; 0 (no preference) and anything else: nothing.
[[nodiscard]] std::optional<Appearance> appearanceFromColorScheme(uint32_t colorScheme);
// Dark when the palette's window colour is darker than mid-grey.
[[nodiscard]] Appearance appearanceFromPalette(const QPalette& palette);

}  // namespace glintdeck
