#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/KeyCommands.h"

#include <QPointer>
#include <QWidget>

namespace ui {

class ViewController;

// The application's top-level window: a resizable window, one screen big to start
// with and down to half that, that its root view fills. The key window is where alerts,
// action sheets and modal screens show. It answers keys the screens leave
// (KeyCommands), and closing it, or losing its native window, terminates the
// application.
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
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchNativeWindow();

    QPointer<QWidget> root_;
    KeyCommands keys_{this};
    QPointer<QWindow> watched_;
};

} // namespace ui
