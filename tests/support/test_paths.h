#pragma once

namespace glintdeck::test_paths {

// Where the tests find what the checkout holds and the build made. The paths are compiled into
// one file the build generates, not into every test, so that the compiler cache serves the
// tests to a checkout in another folder unchanged.
extern const char* const kFixtures;           // tests/fixtures
extern const char* const kGeneratedFixtures;  // the fixture trees the build generates
extern const char* const kData;               // data/
extern const char* const kStatsProgram;       // this tree's glintdeck-stats
extern const char* const kFakeNvml;           // the stand-in for libnvidia-ml.so.1
extern const char* const kLocales;            // locales compiled for the tests, or ""

}  // namespace glintdeck::test_paths
