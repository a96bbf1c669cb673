#include "platform/ui/TableViewTextRenderer.h"

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

Label* labelAt(QWidget* parent, const QString& text, QRect place) {
    auto* label = new Label(parent);
    label->setText(text);
    label->setGeometry(place);
    return label;
}

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

// Four sections: untitled with rows, titled and empty, untitled and empty, titled with
// rows; many rows in the last, most of them off screen.
class Sections : public TableViewDataSource {
public:
    int numberOfSectionsInTableView(TableView*) override { return 4; }
    int tableViewNumberOfRowsInSection(TableView*, int section) override {
        return section == 0 ? 1 : section == 3 ? 40 : 0;
    }
    QString tableViewTitleForHeaderInSection(TableView*, int section) override {
        return section == 1 ? "Nothing yet" : section == 3 ? "Many" : QString();
    }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* table, const IndexPath& p) override {
        auto* cell = table->dequeueReusableCell<TableViewCell>("V", TableViewCellStyle::Value1);
        cell->textLabel()->setText(QString("Name %1").arg(p.row));
        cell->detailTextLabel()->setText(p.row == 0 ? QString() : QString::number(p.row));
        return cell;
    }
};

TEST(TableViewTextRenderer, ASectionIsAHeaderLineAndARowLineEachAndAnEmptyOneIsNothing) {
    Sections source;
    TableView table({0, 0, 320, 100}, TableViewStyle::Grouped);
    table.setDataSource(&source);
    const QStringList lines = TableViewTextRenderer::renderText(table).split('\n');
    ASSERT_EQ(lines.size(), 2 + 1 + 1 + 40 + 1);
    EXPECT_EQ(lines[0], "--");
    EXPECT_EQ(lines[1], "Name 0") << "an empty label adds no tab";
    EXPECT_EQ(lines[2], "-- Nothing yet");
    EXPECT_EQ(lines[3], "-- Many");
    EXPECT_EQ(lines[4], "Name 0");
    EXPECT_EQ(lines[43], "Name 39\t39") << "off screen";
    EXPECT_EQ(lines[44], "");
}

} // namespace
