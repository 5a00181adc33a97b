#include "shell/panel_host.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QVBoxLayout>

#include "shell/floating_window.h"

namespace glintdeck {

PanelHost::PanelHost(SessionKind session, PanelRole role) {
    makeFloatingPanel(*this, session, role);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PanelHost::setContent(std::unique_ptr<QWidget> content) {
    if (content_ != nullptr) {
        content_->hide();
        layout()->removeWidget(content_);
        content_->deleteLater();
    }
    content_ = content.release();
    if (content_ != nullptr) {
        layout()->addWidget(content_);
        content_->show();
    }
    fitContent();
}

void PanelHost::fitContent() {
    layout()->activate();
    adjustSize();
}

void PanelHost::resizeEvent(QResizeEvent*) {
    if (onResized_) onResized_();
}

void PanelHost::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu = provider_ ? provider_() : nullptr;
    if (!menu) {
        event->ignore();
        return;
    }
    QMenu* shown = menu.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    shown->popup(event->globalPos());
    event->accept();
}

}  // namespace glintdeck
