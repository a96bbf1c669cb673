#include "platform/ui/TableViewTextRenderer.h"

#include "platform/ui/Label.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

Label* labelAt(QWidget* parent, const QString& text, QRect place) {
    auto* label = new Label(parent);
    label->setText(text);
    label->setGeometry(place);
    return label;
}

// How sections and rows become lines every screen's golden text shows (headers of titled
// sections, none for untitled empty ones, rows off screen); here, a row's labels.
TEST(TableViewTextRenderer, ShownLabelsReadTopEdgeFirstThenLeftEdge) {
    QWidget cell;
    labelAt(&cell, "right", {170, 2, 100, 20});
    labelAt(&cell, "below", {10, 24, 260, 18});
    labelAt(&cell, "left", {10, 2, 150, 20});
    labelAt(&cell, "tie, after left", {10, 2, 50, 20});
    labelAt(&cell, "", {0, 0, 50, 20});
    labelAt(&cell, "never shown", {0, 0, 50, 20})->hide();
    // A label inside a view of its own counts where it shows, if the view shows.
    auto* box = new QWidget(&cell);
    box->setGeometry(0, 40, 320, 20);
    labelAt(box, "nested", {5, 0, 50, 20});
    auto* hiddenBox = new QWidget(&cell);
    labelAt(hiddenBox, "in a hidden view", {0, 0, 50, 20});
    hiddenBox->hide();
    EXPECT_EQ(TableViewTextRenderer::labelTextsInReadingOrder(&cell),
              QStringList({"left", "tie, after left", "right", "below", "nested"}));
}

} // namespace
