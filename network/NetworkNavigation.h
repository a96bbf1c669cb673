#pragma once

namespace ui {
class ViewController;
}

// Pushes `screen` on the navigation stack of `from`, with animation and without the tab
// bar: the flag of `from` is set around the push (the kit reads the pushed screen's own
// flag, which is set too) and cleared after it, so the tab bar comes back on `from`.
// Takes ownership of `screen`; deletes it when `from` is on no stack.
void pushHidingBottomBar(ui::ViewController* from, ui::ViewController* screen);
