#pragma once

#include <string>

namespace glintdeck {

// The root of a fixture tree under tests/fixtures/ (a fake "/" holding proc/ and sys/).
inline std::string fixtureRoot(const std::string& name) {
    return std::string(GLINTDECK_FIXTURES) + "/" + name;
}

// The root of a fixture tree generated at build time (too many files to commit), such as
// "desktop-500": see tests/fixtures/generate-process-table.
inline std::string generatedFixtureRoot(const std::string& name) {
    return std::string(GLINTDECK_GENERATED_FIXTURES) + "/" + name;
}

}  // namespace glintdeck
