#include "shell/hot_key_service.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using namespace testing::keys;
using testing::OtherClient;
using testing::waitUntil;

constexpr HotKeyBinding summonQ{
    12, HotKeyBinding::control | HotKeyBinding::option | HotKeyBinding::command};
constexpr HotKeyBinding summonP{35, summonQ.modifiers};
constexpr uint16_t controlAltSuper = controlMask | altMask | superMask;
constexpr uint16_t lockStates[] = {0, lockMask, numLockMask, lockMask | numLockMask};

class HotKeys : public ::testing::Test {
  protected:
    void pressSummon(uint8_t key = q) { other.typeCombination({control, alt, super, key}); }

    OtherClient other;
};

TEST_F(HotKeys, HoldTheCombinationInEveryLockStateUntilUnregistered) {
    HotKeyService slot(1);
    slot.registerBinding(summonQ, [] {});
    EXPECT_EQ(slot.state(), HotKeyService::State::registered);
    for (uint16_t lock : lockStates) {
        EXPECT_FALSE(other.canGrab(q, controlAltSuper | lock)) << "lock state " << lock;
    }
    slot.unregister();
    EXPECT_EQ(slot.state(), HotKeyService::State::unregistered);
    for (uint16_t lock : lockStates) {
        EXPECT_TRUE(other.canGrab(q, controlAltSuper | lock)) << "lock state " << lock;
    }
}

TEST_F(HotKeys, ACombinationHeldElsewhereIsRefusedWithoutLeavingPartialGrabs) {
    // The other program holds only the Caps Lock variant, so some of our grabs succeed first.
    ASSERT_TRUE(other.grab(q, controlAltSuper | lockMask));
    HotKeyService slot(1);
    int presses = 0;
    slot.registerBinding(summonQ, [&] { ++presses; });
    EXPECT_EQ(slot.state(), HotKeyService::State::refused);
    EXPECT_EQ(slot.refusal(), HotKeyRefusal::heldElsewhere);
    other.ungrab(q, controlAltSuper | lockMask);
    for (uint16_t lock : lockStates) {
        EXPECT_TRUE(other.canGrab(q, controlAltSuper | lock)) << "left behind: " << lock;
    }
    slot.unregister();
    EXPECT_EQ(slot.state(), HotKeyService::State::unregistered);
}

TEST_F(HotKeys, ReRegisteringReleasesTheOldCombinationAndOnlyTheNewOneFires) {
    HotKeyService slot(1);
    int first = 0;
    int second = 0;
    slot.registerBinding(summonQ, [&] { ++first; });
    slot.registerBinding(summonP, [&] { ++second; });
    EXPECT_TRUE(other.canGrab(q, controlAltSuper));
    EXPECT_FALSE(other.canGrab(p, controlAltSuper));

    pressSummon(q);
    pressSummon(p);  // handled after the Q press, so it also proves Q did nothing
    EXPECT_TRUE(waitUntil([&] { return second == 1; }));
    EXPECT_EQ(first, 0);
}

TEST_F(HotKeys, TwoSlotsNeverShareACombination) {
    HotKeyService summon(1);
    HotKeyService pin(4);
    summon.registerBinding(summonQ, [] {});
    pin.registerBinding(summonQ, [] {});
    EXPECT_EQ(pin.state(), HotKeyService::State::refused);
    EXPECT_EQ(pin.refusal(), HotKeyRefusal::heldByOwnKey) << "not another program's";
    EXPECT_EQ(summon.refusal(), std::nullopt);
    pin.unregister();
    EXPECT_EQ(summon.state(), HotKeyService::State::registered);
    EXPECT_FALSE(other.canGrab(q, controlAltSuper)) << "the first slot must keep its grab";

    // The other way round, the refused slot takes the combination once it is free: a summon
    // key refused for the pin key's sake stayed dead after the strip (and the pin key) went.
    pin.registerBinding(summonP, [] {});
    summon.registerBinding(summonP, [] {});
    EXPECT_EQ(summon.refusal(), HotKeyRefusal::heldByOwnKey);
    pin.unregister();
    EXPECT_EQ(summon.state(), HotKeyService::State::registered);
    EXPECT_FALSE(other.canGrab(p, controlAltSuper));
}

TEST_F(HotKeys, APressRunsTheHandlerOnceWhateverTheLockKeys) {
    HotKeyService slot(1);
    int presses = 0;
    slot.registerBinding(summonQ, [&] { ++presses; });

    pressSummon();
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }));

    other.typeCombination({numLock});
    pressSummon();
    EXPECT_TRUE(waitUntil([&] { return presses == 2; })) << "with Num Lock on";

    other.typeCombination({capsLock});
    pressSummon();
    EXPECT_TRUE(waitUntil([&] { return presses == 3; })) << "with Num Lock and Caps Lock on";

    other.typeCombination({numLock});
    other.typeCombination({capsLock});
}

TEST_F(HotKeys, AHeldKeyDoesNotFireAgainWhileItRepeats) {
    HotKeyService slot(1);
    HotKeyService barrier(2);
    int presses = 0;
    int barrierPresses = 0;
    slot.registerBinding(summonQ, [&] { ++presses; });
    barrier.registerBinding(summonP, [&] { ++barrierPresses; });

    for (uint8_t key : {control, alt, super, q, q, q}) {
        other.keyDown(key);  // pressing a held key again is how the server repeats it
    }
    for (uint8_t key : {q, super, alt, control}) {
        other.keyUp(key);
    }
    pressSummon(p);
    ASSERT_TRUE(waitUntil([&] { return barrierPresses == 1; }));
    EXPECT_EQ(presses, 1);
}

TEST_F(HotKeys, AHandlerMayUnregisterItsOwnSlot) {
    HotKeyService slot(1);
    HotKeyService barrier(2);
    int presses = 0;
    int barrierPresses = 0;
    slot.registerBinding(summonQ, [&] {
        ++presses;
        slot.unregister();
    });
    barrier.registerBinding(summonP, [&] { ++barrierPresses; });

    pressSummon(q);
    ASSERT_TRUE(waitUntil([&] { return presses == 1; }));
    EXPECT_EQ(slot.state(), HotKeyService::State::unregistered);
    pressSummon(q);
    pressSummon(p);
    ASSERT_TRUE(waitUntil([&] { return barrierPresses == 1; }));
    EXPECT_EQ(presses, 1);
}

TEST_F(HotKeys, APressQueuedBeforeUnregisteringDoesNothing) {
    HotKeyService slot(1);
    int presses = 0;
    slot.registerBinding(summonQ, [&] { ++presses; });
    pressSummon();
    // The press is on its way; the slot goes before the event loop gets to it.
    slot.unregister();
    HotKeyService barrier(2);
    int barrierPresses = 0;
    barrier.registerBinding(summonP, [&] { ++barrierPresses; });
    pressSummon(p);
    ASSERT_TRUE(waitUntil([&] { return barrierPresses == 1; }));
    EXPECT_EQ(presses, 0);
}

// Moves every key of one modifier to another (or, with to = -1, off every modifier), as xmodmap
// would, and back at the end.
class ModifierRemap {
  public:
    ModifierRemap(OtherClient& other, int from, int to) : other_(other) {
        xcb_connection_t* conn = other.connection();
        std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> reply(
            xcb_get_modifier_mapping_reply(conn, xcb_get_modifier_mapping(conn), nullptr),
            &std::free);
        perModifier_ = reply->keycodes_per_modifier;
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
        original_.assign(codes, codes + 8 * perModifier_);
        std::vector<xcb_keycode_t> moved = original_;
        for (int i = 0; i < perModifier_; ++i) {
            if (to >= 0) moved[to * perModifier_ + i] = original_[from * perModifier_ + i];
            moved[from * perModifier_ + i] = 0;
        }
        set(moved);
    }
    ~ModifierRemap() { set(original_); }

  private:
    void set(const std::vector<xcb_keycode_t>& codes) {
        xcb_connection_t* conn = other_.connection();
        std::free(xcb_set_modifier_mapping_reply(
            conn, xcb_set_modifier_mapping(conn, perModifier_, codes.data()), nullptr));
    }

    OtherClient& other_;
    uint8_t perModifier_ = 0;
    std::vector<xcb_keycode_t> original_;
};

// A keyboard without Super is not another program holding the key.
TEST_F(HotKeys, AKeyboardWithoutSuperRefusesWithItsOwnReason) {
    HotKeyService slot(1);
    slot.registerBinding(summonQ, [] {});
    {
        ModifierRemap noSuper(other, 6, -1);
        EXPECT_TRUE(waitUntil([&] { return slot.refusal() == HotKeyRefusal::noSuperKey; }));
        EXPECT_EQ(slot.state(), HotKeyService::State::refused);
    }
    EXPECT_TRUE(waitUntil([&] { return slot.state() == HotKeyService::State::registered; }))
        << "grabbed once Super is back";
    EXPECT_EQ(slot.refusal(), std::nullopt);
}

TEST_F(HotKeys, FollowSuperWhenTheModifierMappingMovesIt) {
    HotKeyService slot(1);
    int presses = 0;
    slot.registerBinding(summonQ, [&] { ++presses; });
    {
        ModifierRemap superOnMod3(other, 6, 5);  // Mod4 → Mod3
        EXPECT_TRUE(waitUntil([&] { return !other.canGrab(q, controlMask | altMask | mod3Mask); }))
            << "not grabbed again with Super on Mod3";
        EXPECT_TRUE(other.canGrab(q, controlAltSuper)) << "the Mod4 grab stayed behind";
        pressSummon();
        EXPECT_TRUE(waitUntil([&] { return presses == 1; }));
    }
    EXPECT_TRUE(waitUntil([&] { return !other.canGrab(q, controlAltSuper); }));
    EXPECT_EQ(slot.state(), HotKeyService::State::registered);
}

}  // namespace
}  // namespace glintdeck
