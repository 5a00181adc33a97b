#include "shell/carbon_modifiers.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(CarbonModifiers, MapSuperAltControlShiftAndIgnoreTheRest) {
    struct Row {
        Qt::KeyboardModifiers qt;
        uint32_t carbon;
    };
    for (const Row& row : {
             Row{Qt::NoModifier, 0},
             Row{Qt::MetaModifier, 0x0100},  // Super, shown as ⌘
             Row{Qt::AltModifier, 0x0800},
             Row{Qt::ControlModifier, 0x1000},
             Row{Qt::ShiftModifier, 0x0200},
             Row{Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier, 0x1900},
             Row{Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier, 0x0A00},
             Row{Qt::KeypadModifier | Qt::GroupSwitchModifier, 0},
         }) {
        EXPECT_EQ(carbonModifiers(row.qt), row.carbon) << row.qt.toInt();
    }
}

}  // namespace
}  // namespace glintdeck
