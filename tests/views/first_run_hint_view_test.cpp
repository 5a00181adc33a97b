#include "views/first_run_hint_view.h"

#include <gtest/gtest.h>

#include "tests/views/view_test_support.h"

namespace glintdeck {
namespace {

using namespace testing_support;

TEST(FirstRunHintViewTest, NeverNarrowerThan220AndWiderForLongKeyCaps) {
    int previous = 0;
    for (const char16_t* key :
         {u"Q", u"Super+Q", u"Ctrl+Alt+Super+Q", u"Ctrl+Alt+Shift+Super+key 123"}) {
        FirstRunHintView hint(QString::fromUtf16(key));
        hint.setStyle(darkStyle());
        QSize size = hint.sizeHint();
        EXPECT_GE(size.width(), 220);
        EXPECT_GE(size.width(), previous) << "a longer key cap never narrows the card";
        previous = size.width();
        FirstRunHintView::Layout layout = hint.layout();
        // The key row: Press, the cap and the rest, 6 points apart, on one centre line.
        EXPECT_NEAR(layout.keyCap.left() - layout.press.right(), 6, 1e-9);
        EXPECT_NEAR(layout.afterKey.left() - layout.keyCap.right(), 6, 1e-9);
        EXPECT_NEAR(layout.press.center().y(), layout.keyCap.center().y(), 1e-9);
        EXPECT_GE(size.width(), layout.afterKey.right());
    }
}

// Where nothing binds the summon key, the sentence on binding it takes the key row's place and
// the card grows to hold it, the footnote below it; the card no longer opens with "You're all
// set" before asking for a step.
TEST(FirstRunHintViewTest, AnInstructionReplacesTheKeyRow) {
    FirstRunHintView hint(QStringLiteral("⌃⌥⌘Q"));
    hint.setStyle(darkStyle());
    EXPECT_EQ(hint.greeting(), QString::fromUtf16(FirstRunHintView::kGreeting));
    const double keyRowWidth = hint.sizeHint().width();
    hint.setInstruction(
        QStringLiteral("Add “bindsym Ctrl+Mod1+Mod4+q exec glintdeck” to your "
                       "sway config, then reload it."));
    FirstRunHintView::Layout layout = hint.layout();
    EXPECT_TRUE(layout.keyCap.isEmpty());
    EXPECT_EQ(layout.instruction.left(), 14);
    EXPECT_GT(layout.footnote.top(), layout.instruction.bottom());
    EXPECT_GE(hint.sizeHint().width(), layout.instruction.right() + 14);
    EXPECT_GT(hint.sizeHint().width(), keyRowWidth);
    EXPECT_EQ(hint.greeting(), QString::fromUtf16(FirstRunHintView::kStepLeft));
}

}  // namespace
}  // namespace glintdeck
