#include "platform/ui/Overlay.h"
#include "platform/ui/Geometry.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

using namespace ui;

namespace {

// The colour at the middle of the overlay's panel, drawn over a backdrop of `below`.
QColor panelColourOver(Overlay::Look look, const QColor& below) {
    QWidget backdrop;
    setFrame(&backdrop, Screen::bounds());
    QPalette palette = backdrop.palette();
    palette.setColor(QPalette::Window, below);
    backdrop.setPalette(palette);
    backdrop.setAutoFillBackground(true);
    auto* overlay = new Overlay(look);
    overlay->setParent(&backdrop);
    auto* panel = new QWidget;
    panel->setMinimumSize(Screen::px(200), Screen::px(120));
    overlay->setPanel(panel);
    setFrame(overlay, Screen::bounds());
    const QImage image = backdrop.grab().toImage();
    return image.pixelColor(panel->geometry().center());
}

} // namespace

TEST(Overlay, RowsBehindAlertsAndActionSheetsDoNotShowThroughTheirPanels) {
    for (const Overlay::Look look :
         {Overlay::Look::Alert, Overlay::Look::Sheet, Overlay::Look::BlackSheet}) {
        EXPECT_EQ(panelColourOver(look, Qt::red), panelColourOver(look, Qt::green))
            << "look " << static_cast<int>(look);
    }
}
