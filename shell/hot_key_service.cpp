#include "shell/hot_key_service.h"

#include <QCoreApplication>
#include <map>

#include "shell/x11/x11_key_grabs.h"

namespace glintdeck {

namespace {

std::map<uint32_t, HotKeyService::Handler>& handlerTable() {
    static std::map<uint32_t, HotKeyService::Handler> table;
    return table;
}

// Looks the handler up when the task runs, not when the key is pressed: a slot unregistered
// in between does nothing.
void deliver(uint32_t slotId) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [slotId] {
            auto found = handlerTable().find(slotId);
            if (found != handlerTable().end() && found->second) {
                // A copy: the handler may unregister its own slot while it runs.
                const HotKeyService::Handler handler = found->second;
                handler();
            }
        },
        Qt::QueuedConnection);
}

X11KeyGrabs& grabs() {
    X11KeyGrabs& shared = X11KeyGrabs::shared();
    shared.setDelivery(deliver);
    return shared;
}

}  // namespace

HotKeyService::HotKeyService(uint32_t id) : id_(id) {}

HotKeyService::~HotKeyService() { unregister(); }

void HotKeyService::registerBinding(Binding binding, Handler handler) {
    unregister();
    handlerTable()[id_] = std::move(handler);
    registered_ = true;
    // A refusal is not an error here: the slot stays refused and state() reports it.
    (void)grabs().grab(id_, binding);
}

void HotKeyService::unregister() {
    if (registered_) {
        grabs().release(id_);
        registered_ = false;
    }
    handlerTable().erase(id_);
}

HotKeyService::State HotKeyService::state() const {
    if (!registered_) {
        return State::unregistered;
    }
    return grabs().isGrabbed(id_) ? State::registered : State::refused;
}

std::optional<HotKeyRefusal> HotKeyService::refusal() const {
    return registered_ ? grabs().refusal(id_) : std::nullopt;
}

std::optional<uint32_t> HotKeyService::lastPressTime() { return grabs().lastPressTime(); }

}  // namespace glintdeck
