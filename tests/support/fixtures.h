#pragma once

#include <string>

#include "tests/support/test_paths.h"

namespace glintdeck {

// The root of a fixture tree under tests/fixtures/ (a fake "/" holding proc/ and sys/).
inline std::string fixtureRoot(const std::string& name) {
    return std::string(test_paths::kFixtures) + "/" + name;
}

}  // namespace glintdeck
