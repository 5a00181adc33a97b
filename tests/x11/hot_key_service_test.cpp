#include "shell/hot_key_service.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using namespace testing::keys;
using State = HotKeyService::State;

const HotKeyBinding summonQ = HotKeyBinding::defaultSummon();
const HotKeyBinding summonP{35, summonQ.modifiers};
constexpr uint16_t controlAltSuper = controlMask | altMask | superMask;
constexpr uint16_t lockStates[] = {0, lockMask, numLockMask, lockMask | numLockMask};

// The summon slot, and another program that presses keys and tries to grab them.
class HotKeys : public ::testing::Test {
  protected:
    void registerQ() {
        slot.registerBinding(summonQ, [this] { ++presses; });
    }
    void pressSummon(uint8_t key = q) { other.typeCombination({control, alt, super, key}); }
    [[nodiscard]] bool othersCanGrab(uint8_t key, uint16_t lock = 0) {
        return other.canGrab(key, controlAltSuper | lock);
    }
    // In how many of the four Caps Lock and Num Lock states another program can grab the key.
    [[nodiscard]] std::ptrdiff_t lockStatesOthersCanGrab(uint8_t key) {
        return std::ranges::count_if(lockStates,
                                     [&](uint16_t lock) { return othersCanGrab(key, lock); });
    }

    testing::OtherClient other;
    testing::EventBarrier barrier{other};
    HotKeyService slot{1};
    int presses = 0;
};

TEST_F(HotKeys, HoldTheCombinationAndFireOnceInEveryLockStateUntilUnregistered) {
    registerQ();
    EXPECT_EQ(slot.state(), State::registered);
    EXPECT_EQ(lockStatesOthersCanGrab(q), 0);
    int expected = 0;
    for (uint8_t lockKey : {capsLock, numLock, capsLock, numLock}) {
        pressSummon();
        EXPECT_TRUE(runUntil([&] { return presses == expected + 1; })) << expected;
        ++expected;
        other.typeCombination({lockKey});  // Caps Lock, then Num Lock as well, then off again
    }
    slot.unregister();
    EXPECT_EQ(slot.state(), State::unregistered);
    EXPECT_EQ(lockStatesOthersCanGrab(q), 4);
}

TEST_F(HotKeys, ACombinationHeldElsewhereIsRefusedWithoutLeavingPartialGrabs) {
    // The other program holds only the Caps Lock variant, so some of our grabs succeed first.
    ASSERT_TRUE(other.grab(q, controlAltSuper | lockMask));
    registerQ();
    EXPECT_EQ(slot.state(), State::refused);
    EXPECT_EQ(slot.refusal(), HotKeyRefusal::heldElsewhere);
    other.ungrab(q, controlAltSuper | lockMask);
    EXPECT_EQ(lockStatesOthersCanGrab(q), 4) << "grabs left behind";
}

TEST_F(HotKeys, ReRegisteringReleasesTheOldCombinationAndOnlyTheNewOneFires) {
    int second = 0;
    registerQ();
    slot.registerBinding(summonP, [&] { ++second; });
    EXPECT_TRUE(othersCanGrab(q));
    EXPECT_FALSE(othersCanGrab(p));
    pressSummon(q);
    pressSummon(p);  // handled after the Q press, so it also proves Q did nothing
    EXPECT_TRUE(runUntil([&] { return second == 1; }));
    EXPECT_EQ(presses, 0);
}

TEST_F(HotKeys, TwoSlotsNeverShareACombination) {
    HotKeyService pin(4);
    registerQ();
    pin.registerBinding(summonQ, [] {});
    EXPECT_EQ(pin.state(), State::refused);
    EXPECT_EQ(pin.refusal(), HotKeyRefusal::heldByOwnKey) << "not another program's";
    EXPECT_EQ(slot.refusal(), std::nullopt);
    pin.unregister();
    EXPECT_EQ(slot.state(), State::registered);
    EXPECT_FALSE(othersCanGrab(q)) << "the first slot must keep its grab";

    // The other way round, the refused slot takes the combination once it is free: a summon
    // key refused for the pin key's sake stayed dead after the strip (and the pin key) went.
    pin.registerBinding(summonP, [] {});
    slot.registerBinding(summonP, [] {});
    EXPECT_EQ(slot.refusal(), HotKeyRefusal::heldByOwnKey);
    pin.unregister();
    EXPECT_EQ(slot.state(), State::registered);
    EXPECT_FALSE(othersCanGrab(p));
}

TEST_F(HotKeys, AHeldKeyDoesNotFireAgainWhileItRepeats) {
    registerQ();
    for (uint8_t key : {control, alt, super, q, q, q}) {
        other.key(key, true);  // pressing a held key again is how the server repeats it
    }
    for (uint8_t key : {q, super, alt, control}) {
        other.key(key, false);
    }
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(presses, 1);
}

TEST_F(HotKeys, APressAfterUnregisteringDoesNothingEvenFromItsOwnHandler) {
    slot.registerBinding(summonQ, [&] {
        ++presses;
        slot.unregister();
    });
    pressSummon();
    ASSERT_TRUE(runUntil([&] { return presses == 1; }));
    EXPECT_EQ(slot.state(), State::unregistered);
    pressSummon();
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(presses, 1);

    registerQ();
    pressSummon();
    slot.unregister();  // the press is on its way; the slot goes before the loop gets to it
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(presses, 1);
}

// Moves every key of one modifier to another (or, with to = -1, off every modifier), as xmodmap
// would, and back at the end.
class ModifierRemap {
  public:
    ModifierRemap(testing::OtherClient& other, int from, int to) : conn_(other.connection()) {
        std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> reply(
            xcb_get_modifier_mapping_reply(conn_, xcb_get_modifier_mapping(conn_), nullptr),
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
        std::free(xcb_set_modifier_mapping_reply(
            conn_, xcb_set_modifier_mapping(conn_, perModifier_, codes.data()), nullptr));
    }

    xcb_connection_t* conn_;
    uint8_t perModifier_ = 0;
    std::vector<xcb_keycode_t> original_;
};

// A keyboard without Super is not another program holding the key; where Super moves, the grab
// follows it.
TEST_F(HotKeys, FollowSuperThroughModifierMappingChanges) {
    registerQ();
    {
        ModifierRemap noSuper(other, 6, -1);
        EXPECT_TRUE(runUntil([&] { return slot.refusal() == HotKeyRefusal::noSuperKey; }));
        EXPECT_EQ(slot.state(), State::refused);
    }
    EXPECT_TRUE(runUntil([&] { return slot.state() == State::registered; }))
        << "grabbed once Super is back";
    EXPECT_EQ(slot.refusal(), std::nullopt);
    {
        ModifierRemap superOnMod3(other, 6, 5);  // Mod4 → Mod3
        EXPECT_TRUE(runUntil([&] { return !other.canGrab(q, controlMask | altMask | mod3Mask); }))
            << "not grabbed again with Super on Mod3";
        EXPECT_TRUE(othersCanGrab(q)) << "the Mod4 grab stayed behind";
        pressSummon();
        EXPECT_TRUE(runUntil([&] { return presses == 1; }));
    }
    EXPECT_TRUE(runUntil([&] { return !othersCanGrab(q); }));
    EXPECT_EQ(slot.state(), State::registered);
}

}  // namespace
}  // namespace glintdeck
