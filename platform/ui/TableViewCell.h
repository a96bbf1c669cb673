#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace ui {

enum class TableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
enum class TableViewCellAccessoryType {
    None = 0,
    DisclosureIndicator = 1,
    DetailDisclosureButton = 2,
    Checkmark = 3
};
enum class TableViewCellSelectionStyle { None = 0, Blue = 1, Gray = 2 };
enum class TableViewCellEditingStyle { None = 0, Delete = 1, Insert = 2 };

// One row of a table: a content view with the standard labels and image of its
// style, an accessory on the right, the selection highlight and, while the table is
// edited, the delete control. Subclasses add their own labels to contentView() and
// place them in layoutSubviews(). Cells are reused: prepareForReuse() runs when the
// table hands one out again.
class TableViewCell : public QWidget {
    Q_OBJECT

public:
    // Where a cell sits in a grouped section, for its rounded corners.
    enum class GroupPosition { None, Top, Middle, Bottom, Single };

    TableViewCell(TableViewCellStyle style, const QString& reuseIdentifier);
    explicit TableViewCell(const QString& reuseIdentifier);
    ~TableViewCell() override;

    QString reuseIdentifier() const { return reuseIdentifier_; }
    TableViewCellStyle cellStyle() const { return style_; }
    QWidget* contentView() const { return contentView_; }
    Label* textLabel() const { return textLabel_; }
    // nullptr for the Default style. In the other styles both labels are fields of the
    // row (Label::isRowField): its text keeps them when empty.
    Label* detailTextLabel() const { return detailTextLabel_; }
    // Made on first use.
    ImageView* imageView();

    void setAccessoryType(TableViewCellAccessoryType type);
    TableViewCellAccessoryType accessoryType() const { return accessoryType_; }
    // Takes ownership; shown instead of the accessory type.
    void setAccessoryView(QWidget* view);
    QWidget* accessoryView() const { return accessoryView_; }
    void setSelectionStyle(TableViewCellSelectionStyle style);
    TableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelected(bool selected) { setSelectedAnimated(selected, false); }
    void setSelectedAnimated(bool selected, bool animated);
    bool isSelected() const { return selected_; }
    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return highlighted_; }
    void setEditingStyle(TableViewCellEditingStyle style);
    TableViewCellEditingStyle editingStyle() const { return editingStyle_; }
    void setEditing(bool editing);
    bool isEditing() const { return editing_; }
    void setShowsDeleteConfirmation(bool shows);
    bool showsDeleteConfirmation() const { return showsDeleteConfirmation_; }
    void setBackgroundColor(Color color);

    // Lays out the content view, the standard labels and the image for the style.
    // Runs on every resize; overrides call this first.
    virtual void layoutSubviews();
    // Runs when the table hands the cell out again.
    virtual void prepareForReuse();

    // The content view's bounds, in points.
    Rect contentBounds() const;

    // Where row `row` of a grouped section of `rows` rows sits.
    static GroupPosition groupPositionOfRow(int row, int rows);
    // Set by the table that shows the cell.
    void setGroupPosition(GroupPosition position);
    GroupPosition groupPosition() const { return groupPosition_; }
    void setSeparator(bool shown, const QColor& color);

    // Hit areas, in the cell's pixels.
    QRect accessoryRect() const;
    QRect deleteControlRect() const;
    QRect deleteButtonRect() const;

    // What a touch lands on: a control the cell shows, else the row itself.
    enum class Part { Row, DeleteControl, DeleteButton, DetailDisclosureButton };
    // `point` is in the cell's pixels.
    Part partAtPoint(QPoint point) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void makeLabels();
    void layoutStandardViews(const Rect& content);
    double accessoryWidth() const;
    double editingInset() const;
    bool showsHighlight() const;
    void propagateHighlight();
    void paintBackground(QPainter& painter);
    void paintAccessory(QPainter& painter);

    TableViewCellStyle style_;
    QString reuseIdentifier_;
    QWidget* contentView_;
    Label* textLabel_ = nullptr;
    Label* detailTextLabel_ = nullptr;
    ImageView* imageView_ = nullptr;
    QPointer<QWidget> accessoryView_;
    TableViewCellAccessoryType accessoryType_ = TableViewCellAccessoryType::None;
    TableViewCellSelectionStyle selectionStyle_ = TableViewCellSelectionStyle::Blue;
    TableViewCellEditingStyle editingStyle_ = TableViewCellEditingStyle::Delete;
    GroupPosition groupPosition_ = GroupPosition::None;
    Color backgroundColor_ = Color::white();
    QColor separatorColor_ = QColor(224, 224, 224);
    bool separatorShown_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    bool editing_ = false;
    bool showsDeleteConfirmation_ = false;
};

} // namespace ui
