// glintdeck_native_window: a plain window of a native Wayland client (run it with
// QT_QPA_PLATFORM=wayland), for the Wayland session tests to click on and hand the keyboard to.
// Titled "Native Window"; it quits on SIGTERM's default action. On standard output it says when
// it gains and loses the keyboard ("focus in", "focus out"), which keys reach it ("key A") and
// where it is clicked ("click X Y", in its own coordinates), one a line, so that a test can tell
// where the keyboard and the pointer are on any compositor.
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <cstdio>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class NativeWindow final : public QWidget {
  protected:
    void keyPressEvent(QKeyEvent* event) override {
        say(QStringLiteral("key ") + QKeySequence(event->key()).toString());
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        say(QStringLiteral("click %1 %2").arg(at.x()).arg(at.y()));
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    NativeWindow window;
    window.setWindowTitle(QStringLiteral("Native Window"));
    window.resize(640, 480);
    QObject::connect(&application, &QGuiApplication::focusWindowChanged,
                     [](QWindow* focus) { say(focus ? "focus in" : "focus out"); });
    window.show();
    return QApplication::exec();
}
