#pragma once

#include <string>

namespace glintdeck {

// The root of a fixture tree under tests/fixtures/ (a fake "/" holding proc/ and sys/).
inline std::string fixtureRoot(const std::string& name) {
    return std::string(GLINTDECK_FIXTURES) + "/" + name;
}

}  // namespace glintdeck
