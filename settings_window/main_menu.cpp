#include "settings_window/main_menu.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace glintdeck {
namespace {

// Sends an edit command to the control that has the keyboard, so the Edit menu works on whatever
// field the user is in; controls without that command ignore it.
void sendToFocus(const char* command) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(focus); combo && combo->lineEdit()) {
        focus = combo->lineEdit();
    }
    if (!focus) return;
    QByteArray signature = QByteArray(command) + "()";
    if (focus->metaObject()->indexOfMethod(signature.constData()) < 0) return;
    QMetaObject::invokeMethod(focus, command);
}

QAction* addItem(QMenu& menu, const QString& title, const QKeySequence& shortcut,
                 std::function<void()> run) {
    QAction* action = menu.addAction(title);
    action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, &menu, [run = std::move(run)] {
        if (run) run();
    });
    return action;
}

}  // namespace

void installMainMenu(QMainWindow& window, MainMenuActions actions) {
    QMenuBar* bar = window.menuBar();

    QMenu* application = bar->addMenu(QStringLiteral("&Glintdeck"));
    addItem(*application, QStringLiteral("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma),
            std::move(actions.openSettings));
    application->addSeparator();
    QAction* quit = addItem(*application, QStringLiteral("Quit Glintdeck"),
                            QKeySequence(Qt::CTRL | Qt::Key_Q), std::move(actions.quit));
    quit->setMenuRole(QAction::QuitRole);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    addItem(*edit, QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X),
            [] { sendToFocus("cut"); });
    addItem(*edit, QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
            [] { sendToFocus("copy"); });
    addItem(*edit, QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
            [] { sendToFocus("paste"); });
    addItem(*edit, QStringLiteral("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A),
            [] { sendToFocus("selectAll"); });

    QMenu* windowMenu = bar->addMenu(QStringLiteral("&Window"));
    addItem(*windowMenu, QStringLiteral("Close"), QKeySequence(Qt::CTRL | Qt::Key_W),
            [&window] { window.close(); });
    addItem(*windowMenu, QStringLiteral("Minimize"), QKeySequence(Qt::CTRL | Qt::Key_M),
            [&window] { window.showMinimized(); });
}

}  // namespace glintdeck
