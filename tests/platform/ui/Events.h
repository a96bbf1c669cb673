#pragma once

#include "platform/ui/Window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

// Keys and mouse buttons as a person makes them: keys to the widget with the window's
// focus, going on to its parents while they are left.
inline void press(ui::Window& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &up);
}

// A press, move or release of `button` at a point of `target`, in its pixels.
inline void mouse(QWidget* target, QEvent::Type type, QPoint at,
                  Qt::MouseButton button = Qt::LeftButton, quint64 timestamp = 0) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(target, &event);
}

inline void clickButton(QWidget* target, Qt::MouseButton button) {
    const QPoint at(target->width() / 2, target->height() / 2);
    mouse(target, QEvent::MouseButtonPress, at, button);
    mouse(target, QEvent::MouseButtonRelease, at, button);
}

inline void wheel(QWidget* target, QPoint pixels, QPoint angle) {
    QWheelEvent event(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), pixels, angle,
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}
