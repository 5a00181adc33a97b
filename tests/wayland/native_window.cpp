// glintdeck_native_window: a plain window of a native Wayland client (run it with
// QT_QPA_PLATFORM=wayland), for the Wayland session test to click on and hand the keyboard to.
// Titled "Native Window"; it quits on SIGTERM's default action.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Native Window"));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
