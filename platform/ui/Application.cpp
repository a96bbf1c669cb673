#include "platform/ui/Application.h"

#include "platform/ui/Geometry.h"

#include <QApplication>
#include <QDesktopServices>
#include <QScreen>

#include <memory>

namespace ui {

Application* Application::sharedApplication() {
    static Application application;
    return &application;
}

void Application::setDelegate(ApplicationDelegate* delegate) {
    if (delegate != delegate_) {
        terminated_ = false;
    }
    delegate_ = delegate;
}

Application::ApplicationState Application::applicationState() const {
    return state_;
}

Application::BackgroundTaskIdentifier
Application::beginBackgroundTaskWithExpirationHandler(std::function<void()> handler) {
    std::lock_guard lock(tasksMutex_);
    const BackgroundTaskIdentifier identifier = ++lastTask_;
    tasks_.emplace(identifier, std::move(handler));
    return identifier;
}

void Application::endBackgroundTask(BackgroundTaskIdentifier identifier) {
    std::lock_guard lock(tasksMutex_);
    tasks_.erase(identifier);
}

int Application::backgroundTaskCount() const {
    std::lock_guard lock(tasksMutex_);
    return static_cast<int>(tasks_.size());
}

void Application::enterState(ApplicationState next) {
    const ApplicationState previous = state_;
    if (previous == next) {
        return;
    }
    ApplicationDelegate* d = delegate_;
    auto call = [this, d](void (ApplicationDelegate::*operation)(Application*)) {
        if (d != nullptr) {
            (d->*operation)(this);
        }
    };
    if (previous == ApplicationState::Active) {
        state_ = ApplicationState::Inactive;
        call(&ApplicationDelegate::applicationWillResignActive);
    }
    if (next == ApplicationState::Background) {
        state_ = ApplicationState::Background;
        call(&ApplicationDelegate::applicationDidEnterBackground);
        return;
    }
    if (previous == ApplicationState::Background) {
        state_ = ApplicationState::Inactive;
        call(&ApplicationDelegate::applicationWillEnterForeground);
    }
    if (next == ApplicationState::Active) {
        state_ = ApplicationState::Active;
        call(&ApplicationDelegate::applicationDidBecomeActive);
    }
}

void Application::dispatchStateChange(Qt::ApplicationState state) {
    switch (state) {
    case Qt::ApplicationActive:
        enterState(ApplicationState::Active);
        break;
    case Qt::ApplicationInactive:
        enterState(ApplicationState::Inactive);
        break;
    case Qt::ApplicationHidden:
    case Qt::ApplicationSuspended:
        enterState(ApplicationState::Background);
        break;
    }
}

bool Application::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void Application::runTerminationOnce() {
    if (terminated_) {
        return;
    }
    terminated_ = true;
    if (delegate_ != nullptr) {
        delegate_->applicationWillTerminate(this);
    }
}

void Application::terminate() {
    runTerminationOnce();
    QCoreApplication::quit();
}

namespace {

double scaleFromEnvironmentOr(double fallback) {
    bool ok = false;
    const double fromEnvironment = qEnvironmentVariable("ORMEL_SCALE").toDouble(&ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : fallback;
}

// What a window's frame adds to its content on this platform: platforms that draw
// windows without one add nothing; a desktop's title bar and borders take about this.
QSize windowDecorationPixels() {
    static const QStringList undecorated{"offscreen", "minimal", "vnc", "eglfs", "linuxfb"};
    if (undecorated.contains(QGuiApplication::platformName())) {
        return {};
    }
    return {16, 48};
}

} // namespace

double launchScale() {
    double scale = 1.0;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        scale = Screen::chooseScale(screen->availableGeometry().size(), windowDecorationPixels());
    }
    return scaleFromEnvironmentOr(scale);
}

int ApplicationMain(int argc, char** argv, std::function<ApplicationDelegate*()> makeDelegate) {
    static int argumentCount = argc;
    std::unique_ptr<QApplication> ownApplication;
    if (QCoreApplication::instance() == nullptr) {
        ownApplication = std::make_unique<QApplication>(argumentCount, argv);
    }
    Screen::setScale(launchScale());

    Application* application = Application::sharedApplication();
    std::unique_ptr<ApplicationDelegate> delegate(makeDelegate ? makeDelegate() : nullptr);
    application->setDelegate(delegate.get());
    if (delegate) {
        delegate->applicationDidFinishLaunchingWithOptions(application, {});
    }
    // The device makes a launched application active straight away.
    application->dispatchStateChange(Qt::ApplicationActive);
    auto* qtApplication = qApp;
    QObject::connect(
        qtApplication, &QGuiApplication::applicationStateChanged, qtApplication,
        [application](Qt::ApplicationState state) { application->dispatchStateChange(state); });
    QObject::connect(qtApplication, &QCoreApplication::aboutToQuit, qtApplication,
                     [application] { application->runTerminationOnce(); });
    const int result = QApplication::exec();
    application->setDelegate(nullptr);
    return result;
}

} // namespace ui
