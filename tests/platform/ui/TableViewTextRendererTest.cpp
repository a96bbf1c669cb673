#include "platform/ui/TableViewTextRenderer.h"

#include "Shelves.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"
#include "support/TableJson.h"

#include <QJsonDocument>
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
    // An empty field keeps its column; a field hidden on purpose does not.
    labelAt(&cell, "", {280, 2, 30, 20})->setRowField(true);
    Label* hiddenField = labelAt(&cell, "", {0, 0, 50, 20});
    hiddenField->setRowField(true);
    hiddenField->hide();
    // A label inside a view of its own counts where it shows, if the view shows.
    auto* box = new QWidget(&cell);
    box->setGeometry(0, 40, 320, 20);
    labelAt(box, "nested", {5, 0, 50, 20});
    auto* hiddenBox = new QWidget(&cell);
    labelAt(hiddenBox, "in a hidden view", {0, 0, 50, 20});
    hiddenBox->hide();
    EXPECT_EQ(TableViewTextRenderer::labelTextsInReadingOrder(&cell),
              QStringList({"left", "tie, after left", "right", "", "below", "nested"}));
}

TEST(TableViewTextRenderer, ControlCharactersAreWrittenOutAsPsDoes) {
    EXPECT_EQ(TableViewTextRenderer::escapedText("plain Café €"), "plain Café €");
    EXPECT_EQ(TableViewTextRenderer::escapedText("a\tb\nc\rd"), "a\\tb\\nc\\rd");
    EXPECT_EQ(
        TableViewTextRenderer::escapedText(QString(QChar(0)) + "\x7f" + QChar(0x9b) + QChar(0xa0)),
        "\\x00\\x7f\\x9b" + QString(QChar(0xa0)))
        << "NUL, DEL and the C1 CSI; a no-break space is text";
    EXPECT_EQ(TableViewTextRenderer::escapedText("\\x1b"), "\\x1b") << "a backslash stays";
}

class TableViewRenderingTest : public ::testing::Test {
protected:
    void SetUp() override {
        shelves.titles = {"Fruit\x1b[8m", "", "", "Empty"};
        shelves.rows[0] = {"apple", "line\nbreak\tand tab"};
        shelves.rows[1] = {""}; // an empty title keeps its column
        table.setDataSource(&shelves);
    }

    Shelves shelves;
    TableView table{{0, 0, 320, 88}, TableViewStyle::Plain};
};

TEST_F(TableViewRenderingTest, TextKeepsOneLineARowAndNoRawControlCharacter) {
    EXPECT_EQ(table.renderText(), "-- Fruit\\x1b[8m\n"
                                  "apple\t1\n"
                                  "line\\nbreak\\tand tab\t2\n"
                                  "--\n"
                                  "\t1\n"
                                  "-- Empty\n");
}

TEST_F(TableViewRenderingTest, JsonHoldsTheShownSectionsWithTheTextsUnescaped) {
    const QJsonObject json = table.renderJson();
    EXPECT_EQ(QJsonDocument(json).toJson(QJsonDocument::Compact),
              R"({"sections":[{"rows":[["apple","1"],["line\nbreak\tand tab","2"]],)"
              R"("title":"Fruit\u001b[8m"},{"rows":[["","1"]],"title":""},)"
              R"({"rows":[],"title":"Empty"}]})");
    EXPECT_EQ(textOfTableJson(json), table.renderText()) << "read back, the same cells";
}

} // namespace
