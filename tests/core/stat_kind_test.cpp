#include "core/stat_kind.h"

#include <gtest/gtest.h>

#include "core/samples.h"

namespace glintdeck {
namespace {

TEST(StatKindTest, RawValuesRoundTripInDeclarationOrder) {
    auto kinds = allStatKinds();
    ASSERT_EQ(kinds.size(), 11u);
    EXPECT_EQ(kinds.front(), StatKind::cpu);
    EXPECT_EQ(kinds.back(), StatKind::uptime);
    for (StatKind kind : kinds) EXPECT_EQ(statKindFromRawValue(rawValue(kind)), kind);
    EXPECT_EQ(statKindFromRawValue("loadAverage"), StatKind::loadAverage);
}

TEST(StatKindTest, RawValuesMatchExactly) {
    for (const char* raw : {"CPU", "Cpu", "loadaverage", "LoadAverage", "UPTIME", " cpu", ""}) {
        EXPECT_EQ(statKindFromRawValue(raw), std::nullopt) << raw;
    }
}

TEST(SamplesTest, EmptyCPUSampleIsIdleNotZero) {
    EXPECT_EQ(CPUSample::empty().idlePercent, 100);
    EXPECT_EQ(CPUSample::empty().totalUsagePercent, 0);
}

TEST(SamplesTest, OptionalFieldsTakePartInEquality) {
    NetworkSample withAddress{.interfaceName = "en0", .localIP = "10.0.0.2"};
    NetworkSample withoutAddress{.interfaceName = "en0"};
    EXPECT_NE(withAddress, withoutAddress);
    EXPECT_EQ(withAddress, withAddress);
}

}  // namespace
}  // namespace glintdeck
