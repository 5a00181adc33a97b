#pragma once

#include <functional>

class QMainWindow;

namespace glintdeck {

// What the menu's application items do; the shell owns both.
struct MainMenuActions {
    std::function<void()> openSettings;  // "Settings…", Ctrl+,
    std::function<void()> quit;          // "Quit Glintdeck", Ctrl+Q
};

// The program's main menu as the window's menu bar (Linux has no global one): "Glintdeck" with
// Settings… and Quit, "Edit" with Cut, Copy, Paste and Select All for whichever text control has
// the keyboard, and "Window" with Close (which only hides the window) and Minimize.
void installMainMenu(QMainWindow& window, MainMenuActions actions);

}  // namespace glintdeck
