#pragma once

#include <Qt>

class QKeyEvent;

namespace ui {

class ViewController;
class Window;

// What a window does for a person at a keyboard and mouse, as the touches on screen
// would do it: Escape cancels the alert or action sheet on top; Alt+Left, Backspace
// and the mouse's back button go back on the navigation stack; Ctrl+Tab,
// Ctrl+Shift+Tab and Ctrl+1…9 choose a tab; Ctrl+R and F5 press the screen's Refresh
// button; Ctrl+Q quits. While an alert or sheet shows, the screen under it hears no
// key. The table of the screen on top has the keyboard focus.
class KeyCommands {
public:
    explicit KeyCommands(Window* window) : window_(window) {}

    // True when the key was used (or swallowed by an alert or sheet on screen).
    bool keyPressed(const QKeyEvent* event);
    bool mouseButtonPressed(Qt::MouseButton button);

    // The screen the person sees: the selected tab's, the top of a navigation stack,
    // or what they present modally.
    static ViewController* visibleScreen(ViewController* root);
    // Gives the keyboard focus to the visible screen's table, when it shows one.
    static void focusVisibleTable(ViewController* root);
    // An alert or action sheet is up: the screens under it take no keys and no focus.
    static bool overlayShown();

private:
    ViewController* root() const;
    bool cancelOverlay();
    bool goBack();
    bool selectTab(int index);
    bool stepTab(int step);
    bool refresh();

    Window* window_;
};

} // namespace ui
