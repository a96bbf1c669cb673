#pragma once

namespace ui {
class NumberFormatter;
}

// What the screens read from the running application's controller: the shared number
// formatter and the launch-time reachability flag. The application's delegate provides
// it; a screen finds it as the shared application's delegate, as it finds the
// controller on the device, so that no screen depends on the controller itself.
class AppState {
public:
    // The shared application's delegate, or nullptr while no application has launched
    // (a screen built on its own, in a test).
    static AppState* ofSharedApplication();

    virtual const ui::NumberFormatter* numFormat() const = 0;
    virtual bool networkReachable() const = 0;

protected:
    ~AppState() = default;
};
