#include "core/stat_kind.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(StatKindTest, EveryKindInDeclarationOrderWithARawValueThatMatchesExactly) {
    auto kinds = allStatKinds();
    for (size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(kinds[i]), i);
        EXPECT_EQ(statKindFromRawValue(rawValue(kinds[i])), kinds[i]);
    }
    EXPECT_EQ(statKindFromRawValue("loadAverage"), StatKind::loadAverage);
    for (const char* raw : {"CPU", "Cpu", "loadaverage", "LoadAverage", "UPTIME", " cpu", ""}) {
        EXPECT_EQ(statKindFromRawValue(raw), std::nullopt) << raw;
    }
}

}  // namespace
}  // namespace glintdeck
