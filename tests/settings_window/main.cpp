// The settings window's tests on Qt's offscreen platform: no display needed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // One font whatever the machine has, so sizes do not depend on it.
    QApplication::setFont(QFont(QStringLiteral("Inter"), 10));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
