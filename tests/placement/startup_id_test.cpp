#include "shell/placement/startup_id.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glintdeck {
namespace {

TEST(StartupId, RemoveMessagesQuoteOnlyWhatNeedsIt) {
    for (auto [id, message] : {std::pair{"kwin-7f1c_TIME12345", "remove: ID=kwin-7f1c_TIME12345"},
                               {"a b", R"(remove: ID="a b")"},
                               {R"(say "hi")", R"(remove: ID="say \"hi\"")"},
                               {R"(back\slash)", R"(remove: ID="back\\slash")"}}) {
        EXPECT_EQ(startupRemoveMessage(id), message) << id;
    }
}

TEST(StartupId, TheTimestampIsTheDigitsAfterTheLastTimeMark) {
    const std::vector<std::pair<std::string, std::optional<uint32_t>>> cases{
        {"gnome-shell-1234-host-glintdeck-0_TIME98765", 98765},
        {"a_TIME1_TIME42", 42},
        {"_TIME4294967295", 4294967295u},
        {"_TIME4294967296", std::nullopt},  // past the X server's 32-bit clock
        {"7f1c2a90-aa3e-4d34-9bf1-b3f1d4c8e0f2", std::nullopt},
        {"id_TIME", std::nullopt},
        {"id_TIME12ab", std::nullopt},
        {"id_TIME-12", std::nullopt},
    };
    for (const auto& [id, time] : cases) {
        EXPECT_EQ(startupTimestamp(id), time) << id;
    }
}

}  // namespace
}  // namespace glintdeck
