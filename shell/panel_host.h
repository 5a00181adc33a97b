#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "platform/linux/session/session_kind.h"
#include "shell/floating_window.h"

class QMenu;

namespace glintdeck {

// The top-level window of a floating panel, holding one content view (the strip, a detail
// card, the hint) at the content's own size. A right click anywhere on the content that the
// content does not handle itself pops up the menu of the context-menu provider; without a
// provider the click goes on as usual. Clicks act at once even while another program is
// active: in X11 sessions the panel never takes the focus, and in Wayland sessions it already
// has it, so there is no activating click to swallow.
class PanelHost final : public QWidget {
  public:
    using ContextMenuProvider = std::function<std::unique_ptr<QMenu>()>;

    explicit PanelHost(SessionKind session = SessionKind::x11, PanelRole role = PanelRole::strip);

    // Replaces the content (the old one is deleted once the event loop is back, since the
    // replacement may be asked for from inside the old content's own handler) and resizes the
    // window to the new content's preferred size.
    void setContent(std::unique_ptr<QWidget> content);
    // Resizes the window to the content's preferred size now, within the content's maximum size.
    void fitContent();
    [[nodiscard]] QWidget* content() const { return content_; }

    void setContextMenuProvider(ContextMenuProvider provider) { provider_ = std::move(provider); }

    // Called after every change of the window's size (the content grew or shrank).
    void setOnResized(std::function<void()> onResized) { onResized_ = std::move(onResized); }

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* content_ = nullptr;
    ContextMenuProvider provider_;
    std::function<void()> onResized_;
};

}  // namespace glintdeck
