// The X11 suite runs inside tests/e2e/x11-session: a private Xvfb server, so grabs, clicks and
// window properties are those of a real X server.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "app/session_bus.h"

int main(int argc, char** argv) {
    glintdeck::keepSessionBusFromAutolaunching();  // as the program does
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "this suite needs an X server (run it through x11-session)\n");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
