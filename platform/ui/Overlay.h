#pragma once

#include <QWidget>

namespace ui {

// The layer alerts and action sheets show on: it covers the key window (or, with no
// window, stands alone as one screen), dims what is below, swallows touches meant for
// it, and holds one panel, centred (alerts) or along the bottom (action sheets),
// whose background it draws.
class Overlay : public QWidget {
public:
    enum class Look { Alert, Sheet, BlackSheet };

    explicit Overlay(Look look);

    // The panel of buttons and texts; the overlay takes ownership and places it.
    void setPanel(QWidget* panel);
    QWidget* panel() const { return panel_; }
    // Shows the overlay above everything in the key window.
    void present();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void placePanel();

    Look look_;
    QWidget* panel_ = nullptr;
};

} // namespace ui
