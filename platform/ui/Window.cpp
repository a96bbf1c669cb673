#include "platform/ui/Window.h"

#include "platform/ui/Bundle.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/ViewFitter.h"

#include <QShowEvent>

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
