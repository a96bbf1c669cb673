#pragma once

#include "platform/ui/ApplicationDelegate.h"

#include <QUrl>
#include <Qt>

#include <functional>
#include <map>
#include <mutex>

namespace ui {

// The running application: its delegate, its state (active, inactive, background),
// the background tasks that keep it working after it leaves the screen, and the
// hand-off of URLs to other programs.
class Application {
public:
    enum class ApplicationState { Active = 0, Inactive = 1, Background = 2 };
    using BackgroundTaskIdentifier = unsigned long;
    static constexpr BackgroundTaskIdentifier BackgroundTaskInvalid = 0;

    static Application* sharedApplication();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    ApplicationDelegate* delegate() const { return delegate_; }
    // A new delegate is a new run of the application: it hears of its termination once.
    void setDelegate(ApplicationDelegate* delegate);
    ApplicationState applicationState() const;

    // Thread-safe.
    BackgroundTaskIdentifier
    beginBackgroundTaskWithExpirationHandler(std::function<void()> handler);
    void endBackgroundTask(BackgroundTaskIdentifier identifier);
    int backgroundTaskCount() const;

    // Turns Qt's application state changes into the delegate's calls, in the order the
    // device makes them.
    void dispatchStateChange(Qt::ApplicationState state);

    bool openURL(const QUrl& url);

    // Ends the application the one way there is: the delegate hears
    // applicationWillTerminate (once, however many ways lead here: Ctrl+Q, the window
    // closed or destroyed, the event loop quitting) and the event loop quits.
    void terminate();
    void runTerminationOnce();

private:
    Application() = default;
    void enterState(ApplicationState state);

    ApplicationDelegate* delegate_ = nullptr;
    ApplicationState state_ = ApplicationState::Inactive;
    bool terminated_ = false;
    mutable std::mutex tasksMutex_;
    std::map<BackgroundTaskIdentifier, std::function<void()>> tasks_;
    BackgroundTaskIdentifier lastTask_ = BackgroundTaskInvalid;
};

// The scale the application starts at: ORMEL_SCALE in the environment, else the one
// that fits the window, with the frame the windowing system gives it, into the
// primary screen's available room (1 with no screen). Needs the QGuiApplication.
double launchScale();

// Runs the application: makes the QApplication when there is none, chooses the
// screen scale, makes the delegate, launches it and runs the event loop.
// ORMEL_SCALE in the environment sets the scale.
int ApplicationMain(int argc, char** argv, std::function<ApplicationDelegate*()> makeDelegate);

} // namespace ui
