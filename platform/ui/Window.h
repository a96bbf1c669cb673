#pragma once

#include "platform/ui/Geometry.h"

#include <QPointer>
#include <QWidget>

namespace ui {

class ViewController;

// The application's top-level window: a resizable window, one screen big to start
// with and down to half that, that its root view fills. The key window is where alerts, action
// sheets and modal screens show.
class Window : public QWidget {
public:
    explicit Window(Rect frame = Screen::bounds());
    ~Window() override;

    // The view fills the window and follows its size; the window owns it.
    void setRootView(QWidget* view);
    QWidget* rootView() const { return root_; }
    // Shows the controller's view as the root view (the controller stays owned by
    // the caller) and tells it when it appears.
    void setRootViewController(ViewController* controller);
    ViewController* rootViewController() const;
    void addSubview(QWidget* view);

    void makeKeyAndVisible();
    static Window* keyWindow();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<QWidget> root_;
};

} // namespace ui
