#include "platform/linux/proc_pid_stat.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(ProcPidStatTest, ReadsTheFieldsAfterTheLastParenthesis) {
    struct Row {
        const char* text;
        std::optional<ProcPidStat> expected;
    };
    for (const Row& row : {
             // captured: this machine's cat
             Row{"15992 (cat) R 15989 15989 5844 0 -1 4194304 100 0 0 0 3 1 0 0 20 0 1 0 108082 "
                 "3133440 383 18446744073709551615 94159404314624 94159404334505 0 0 0 0 0 0 0 "
                 "0 0 17 1 0 0 0 0 0\n",
                 ProcPidStat{15992, "cat", 3, 1, 108082, 383, {94159404314624, 94159404334505, 0}}},
             // a name with spaces and parentheses that mimic the fields after it
             Row{"300 (a) S 1 2 (b) x) S 1 300 300 0 -1 4194560 1 0 3 0 1400 200 0 0 20 0 4 0 "
                 "8000 30720000 2500 18446744073709551615 0\n",
                 ProcPidStat{300, "a) S 1 2 (b) x", 1400, 200, 8000, 2500}},
             // older kernels printed the resident count signed
             Row{"9 (x) S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0 -1 0\n",
                 ProcPidStat{9, "x", 5, 6, 77, 0}},
             Row{"12 (short) S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0\n", std::nullopt},
             Row{"12 short S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0 4 0\n", std::nullopt},
             Row{"x (y) S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0 4 0\n", std::nullopt},
             Row{"", std::nullopt},
         }) {
        EXPECT_EQ(parseProcPidStat(row.text), row.expected) << row.text;
    }
}

}  // namespace
}  // namespace glintdeck
