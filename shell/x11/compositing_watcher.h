#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>

namespace glintdeck {

// Follows whether a compositing manager runs on our X screen (some client owns the selection
// _NET_WM_CM_S<screen>). Without one, window alpha is ignored and translucent corners show
// black, so floating panels then use a shape mask and paint opaque. Without an X display the
// platform composites by itself (Wayland, offscreen rendering) and active() is true.
// Main thread only.
class CompositingWatcher final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

  public:
    explicit CompositingWatcher(QObject* parent = nullptr);
    ~CompositingWatcher() override;

    [[nodiscard]] bool active() const { return active_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  Q_SIGNALS:
    void activeChanged(bool active);

  private:
    void setActive(bool active);

    bool active_ = true;
    uint32_t selection_ = 0;
    uint8_t xfixesFirstEvent_ = 0;
};

}  // namespace glintdeck
