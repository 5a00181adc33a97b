#include "shell/stored_modifiers.h"

#include "settings/hot_key_binding.h"

namespace glintdeck {

uint32_t storedModifiers(Qt::KeyboardModifiers modifiers) {
    uint32_t mask = 0;
    if (modifiers & Qt::MetaModifier) {
        mask |= HotKeyBinding::command;
    }
    if (modifiers & Qt::AltModifier) {
        mask |= HotKeyBinding::option;
    }
    if (modifiers & Qt::ControlModifier) {
        mask |= HotKeyBinding::control;
    }
    if (modifiers & Qt::ShiftModifier) {
        mask |= HotKeyBinding::shift;
    }
    return mask;
}

}  // namespace glintdeck
