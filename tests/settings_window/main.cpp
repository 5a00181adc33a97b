// The settings window's tests, run on Qt's offscreen platform (CTest sets QT_QPA_PLATFORM).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // One font whatever the machine has, so sizes do not depend on it.
    QApplication::setFont(QFont(QStringLiteral("Inter"), 10));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
