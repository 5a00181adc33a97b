// A small stand-in for the application, for summon-scenario: the summon key (⌃⌥⌘Q, that is
// Control+Alt+Super+Q) toggles a floating window titled "Glintdeck", a left or right click
// elsewhere hides it, and dragging it moves it. Prints one line per event on standard output:
// "summon registered" or "summon refused", "ready", "shown", "hidden", "hidden by click",
// "drag started by the window manager" or "drag started by hand", "moved X Y". ⌃⌥⌘S opens an
// ordinary window titled "Glintdeck Settings" and gives it the keyboard ("settings shown").
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "shell/floating_window.h"
#include "shell/hot_key_service.h"
#include "shell/window_activation.h"
#include "shell/x11/click_away_monitor.h"
#include "shell/x11/window_drag.h"

namespace {

void report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

class Strip final : public QWidget {
  public:
    Strip() {
        glintdeck::makeFloatingPanel(*this);
        glintdeck::nameFloatingPanel(*this, "Glintdeck", "glintdeck");
        setGeometry(40, 40, 300, 40);
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(40, 40, 48)); }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && drag_.start(*this, [](QPoint topLeft) {
                report("moved " + std::to_string(topLeft.x()) + " " + std::to_string(topLeft.y()));
            })) {
            report(drag_.byWindowManager() ? "drag started by the window manager"
                                           : "drag started by hand");
        }
    }

  private:
    glintdeck::WindowDrag drag_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("glintdeck");
    Strip strip;

    glintdeck::HotKeyService summon(1);
    summon.registerBinding(glintdeck::HotKeyBinding{12, 0x1900}, [&] {
        if (strip.isVisible()) {
            strip.hide();
            report("hidden");
        } else {
            glintdeck::showFloatingPanel(strip);
            report("shown");
        }
    });
    report(summon.state() == glintdeck::HotKeyService::State::registered ? "summon registered"
                                                                         : "summon refused");
    QWidget settings;
    settings.setWindowTitle("Glintdeck Settings");
    settings.setGeometry(100, 200, 300, 100);
    (new QVBoxLayout(&settings))->addWidget(new QLineEdit(&settings));
    glintdeck::HotKeyService openSettings(3);
    openSettings.registerBinding(glintdeck::HotKeyBinding{1, 0x1900}, [&] {
        glintdeck::activateWindow(settings, glintdeck::HotKeyService::lastPressTime());
        report("settings shown");
    });

    auto monitor = glintdeck::ClickAwayMonitor::install([&] {
        if (strip.isVisible()) {
            strip.hide();
            report("hidden by click");
        }
    });
    report("ready");
    return QApplication::exec();
}
