#pragma once

#include <QVariantMap>

namespace ui {

class Application;

// Hears the application's life: launch, becoming active, going to the background,
// coming back, termination.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual bool applicationDidFinishLaunchingWithOptions(Application* /*application*/,
                                                          const QVariantMap& /*options*/) {
        return true;
    }
    virtual void applicationDidBecomeActive(Application* /*application*/) {}
    virtual void applicationWillResignActive(Application* /*application*/) {}
    virtual void applicationDidEnterBackground(Application* /*application*/) {}
    virtual void applicationWillEnterForeground(Application* /*application*/) {}
    virtual void applicationWillTerminate(Application* /*application*/) {}
};

} // namespace ui
