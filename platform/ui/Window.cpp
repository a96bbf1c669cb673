#include "platform/ui/Window.h"

#include "platform/ui/Bundle.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/ViewFitter.h"

#include "platform/ui/Application.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlatformSurfaceEvent>
#include <QShowEvent>
#include <QWindow>

namespace ui {

namespace {
QPointer<Window>& currentKeyWindow() {
    static QPointer<Window> window;
    return window;
}
} // namespace

Window::Window(Rect frame) {
    const QRect pixels = Screen::toPixels(frame);
    resize(pixels.size());
    // Smaller than the screen it is laid out for, too: its views scroll or squeeze.
    setMinimumSize(Screen::px(Screen::bounds().width / 2), Screen::px(Screen::bounds().height / 2));
    setWindowTitle(
        Bundle::mainBundle().objectForInfoDictionaryKey("CFBundleDisplayName").toString());
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);
}

Window::~Window() {
    // The owner deleting the window is not the person closing it.
    if (watched_) {
        watched_->removeEventFilter(this);
        QObject::disconnect(watched_, nullptr, this, nullptr);
    }
    if (ViewController* controller = rootViewController()) {
        controller->beginAppearanceTransition(false, false);
        controller->endAppearanceTransition();
    }
}

void Window::setRootView(QWidget* view) {
    if (view == root_) {
        return;
    }
    ViewController* previous = rootViewController();
    if (previous != nullptr && isVisible()) {
        previous->beginAppearanceTransition(false, false);
    }
    if (root_) {
        root_->hide();
    }
    if (previous != nullptr && isVisible()) {
        previous->endAppearanceTransition();
    }
    root_ = view;
    if (view == nullptr) {
        return;
    }
    ViewController* next = ViewController::viewControllerForView(view);
    if (next != nullptr && isVisible()) {
        next->beginAppearanceTransition(true, false);
    }
    ViewFitter::fill(view, this);
    view->lower();
    view->show();
    if (next != nullptr && isVisible()) {
        next->endAppearanceTransition();
    }
}

void Window::setRootViewController(ViewController* controller) {
    setRootView(controller != nullptr ? controller->view() : nullptr);
}

ViewController* Window::rootViewController() const {
    return ViewController::viewControllerForView(root_);
}

void Window::addSubview(QWidget* view) {
    if (root_ == nullptr) {
        // The first view added is the window's content: its controller appears with it.
        setRootView(view);
        return;
    }
    ViewFitter::fill(view, this);
    view->show();
    view->raise();
}

void Window::makeKeyAndVisible() {
    currentKeyWindow() = this;
    show();
    raise();
    activateWindow();
}

Window* Window::keyWindow() {
    return currentKeyWindow();
}

void Window::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    watchNativeWindow();
    if (!event->spontaneous()) { // a window restored keeps the focus it had
        KeyCommands::focusVisibleTable(rootViewController());
    }
    if (ViewController* controller = rootViewController(); controller && !event->spontaneous()) {
        controller->beginAppearanceTransition(true, false);
        controller->endAppearanceTransition();
    }
}

void Window::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (ViewController* controller = rootViewController(); controller && !event->spontaneous()) {
        controller->beginAppearanceTransition(false, false);
        controller->endAppearanceTransition();
    }
}

} // namespace ui

namespace ui {

void Window::keyPressEvent(QKeyEvent* event) {
    if (!keys_.keyPressed(event)) {
        QWidget::keyPressEvent(event);
    }
}

void Window::mousePressEvent(QMouseEvent* event) {
    if (!keys_.mouseButtonPressed(event->button())) {
        QWidget::mousePressEvent(event);
    }
}

void Window::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    Application::sharedApplication()->terminate();
}

void Window::watchNativeWindow() {
    QWindow* native = windowHandle();
    if (native == nullptr || native == watched_) {
        return;
    }
    watched_ = native;
    native->installEventFilter(this);
    QObject::connect(native, &QObject::destroyed, this,
                     [] { Application::sharedApplication()->terminate(); });
}

bool Window::eventFilter(QObject* watched, QEvent* event) {
    // The window system took the window away without a close.
    if (watched == watched_ && event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed) {
        Application::sharedApplication()->terminate();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ui
