#include "platform/ui/TableViewCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painting.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ui {

namespace {

constexpr double kMargin = 10;
constexpr double kAccessorySide = 20;
constexpr double kDetailButtonSide = 29;
constexpr double kEditingInset = 32;
constexpr double kDeleteButtonWidth = 64;
constexpr double kDeleteButtonHeight = 30;
constexpr double kValue2TitleWidth = 67;
constexpr double kCornerRadius = 8;

const Color kValue1DetailColor{0.22, 0.33, 0.53, 1};
const Color kValue2TitleColor{0.32, 0.40, 0.57, 1};

} // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, const QString& reuseIdentifier)
    : style_(style), reuseIdentifier_(reuseIdentifier), contentView_(new QWidget(this)) {
    makeLabels();
    setFrame(this, {0, 0, 320, 44});
    layoutSubviews();
}

TableViewCell::TableViewCell(const QString& reuseIdentifier)
    : TableViewCell(TableViewCellStyle::Default, reuseIdentifier) {}

TableViewCell::~TableViewCell() = default;

void TableViewCell::makeLabels() {
    textLabel_ = new Label(contentView_);
    switch (style_) {
    case TableViewCellStyle::Default:
        textLabel_->setFont(boldSystemFontOfSize(20));
        break;
    case TableViewCellStyle::Value1:
        textLabel_->setFont(boldSystemFontOfSize(17));
        detailTextLabel_ = new Label(contentView_);
        detailTextLabel_->setFont(systemFontOfSize(17));
        detailTextLabel_->setTextColor(kValue1DetailColor);
        detailTextLabel_->setTextAlignment(Qt::AlignRight);
        break;
    case TableViewCellStyle::Value2:
        textLabel_->setFont(boldSystemFontOfSize(12));
        textLabel_->setTextColor(kValue2TitleColor);
        textLabel_->setTextAlignment(Qt::AlignRight);
        detailTextLabel_ = new Label(contentView_);
        detailTextLabel_->setFont(boldSystemFontOfSize(15));
        break;
    case TableViewCellStyle::Subtitle:
        textLabel_->setFont(boldSystemFontOfSize(18));
        detailTextLabel_ = new Label(contentView_);
        detailTextLabel_->setFont(systemFontOfSize(14));
        detailTextLabel_->setTextColor(Color::gray());
        break;
    }
    // A style with a title and a detail has two columns, whatever they hold; a default
    // cell's one label is often left unused by a cell that lays out labels of its own.
    if (detailTextLabel_ != nullptr) {
        textLabel_->setRowField(true);
        detailTextLabel_->setRowField(true);
    }
}

ImageView* TableViewCell::imageView() {
    if (imageView_ == nullptr) {
        imageView_ = new ImageView(contentView_);
        imageView_->show();
    }
    return imageView_;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type) {
    if (accessoryType_ != type) {
        accessoryType_ = type;
        layoutSubviews();
        update();
    }
}

void TableViewCell::setAccessoryView(QWidget* view) {
    if (view == accessoryView_) {
        return;
    }
    delete accessoryView_.data();
    accessoryView_ = view;
    if (view != nullptr) {
        view->setParent(this);
        view->show();
    }
    layoutSubviews();
    update();
}

void TableViewCell::setSelectionStyle(TableViewCellSelectionStyle style) {
    selectionStyle_ = style;
    propagateHighlight();
    update();
}

void TableViewCell::setSelectedAnimated(bool selected, bool /*animated*/) {
    if (selected_ != selected) {
        selected_ = selected;
        propagateHighlight();
        update();
    }
}

void TableViewCell::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted) {
        highlighted_ = highlighted;
        propagateHighlight();
        update();
    }
}

void TableViewCell::setEditingStyle(TableViewCellEditingStyle style) {
    if (editingStyle_ != style) {
        editingStyle_ = style;
        layoutSubviews();
        update();
    }
}

void TableViewCell::setEditing(bool editing) {
    if (editing_ != editing) {
        editing_ = editing;
        layoutSubviews();
        update();
    }
}

void TableViewCell::setShowsDeleteConfirmation(bool shows) {
    if (showsDeleteConfirmation_ != shows) {
        showsDeleteConfirmation_ = shows;
        layoutSubviews();
        update();
    }
}

void TableViewCell::setBackgroundColor(Color color) {
    backgroundColor_ = color;
    update();
}

TableViewCell::GroupPosition TableViewCell::groupPositionOfRow(int row, int rows) {
    if (rows == 1) {
        return GroupPosition::Single;
    }
    if (row == 0) {
        return GroupPosition::Top;
    }
    return row == rows - 1 ? GroupPosition::Bottom : GroupPosition::Middle;
}

void TableViewCell::setGroupPosition(GroupPosition position) {
    if (groupPosition_ != position) {
        groupPosition_ = position;
        update();
    }
}

void TableViewCell::setSeparator(bool shown, const QColor& color) {
    separatorShown_ = shown;
    separatorColor_ = color;
    update();
}

bool TableViewCell::showsHighlight() const {
    return (selected_ || highlighted_) && selectionStyle_ != TableViewCellSelectionStyle::None;
}

void TableViewCell::propagateHighlight() {
    const bool highlight = showsHighlight();
    for (Label* label : findChildren<Label*>()) {
        label->setHighlighted(highlight);
    }
}

void TableViewCell::prepareForReuse() {
    selected_ = false;
    highlighted_ = false;
    showsDeleteConfirmation_ = false;
    propagateHighlight();
}

double TableViewCell::editingInset() const {
    return editing_ && editingStyle_ != TableViewCellEditingStyle::None ? kEditingInset : 0;
}

double TableViewCell::accessoryWidth() const {
    if (showsDeleteConfirmation_) {
        return kDeleteButtonWidth + kMargin;
    }
    if (accessoryView_) {
        return frame(accessoryView_).width + kMargin;
    }
    switch (accessoryType_) {
    case TableViewCellAccessoryType::None:
        return 0;
    case TableViewCellAccessoryType::DetailDisclosureButton:
        return kDetailButtonSide + kMargin / 2;
    default:
        // The device gives a chevron or a check mark 20 points: the content keeps 300.
        return kAccessorySide;
    }
}

Rect TableViewCell::contentBounds() const {
    const Rect content = frame(contentView_);
    return {0, 0, content.width, content.height};
}

QRect TableViewCell::accessoryRect() const {
    const Rect bounds = Screen::toPoints(rect());
    const double width = accessoryWidth();
    return Screen::toPixels({bounds.width - width, 0, width, bounds.height});
}

QRect TableViewCell::deleteControlRect() const {
    const Rect bounds = Screen::toPoints(rect());
    return Screen::toPixels({0, 0, kEditingInset + 4, bounds.height});
}

QRect TableViewCell::deleteButtonRect() const {
    const Rect bounds = Screen::toPoints(rect());
    return Screen::toPixels({bounds.width - kDeleteButtonWidth - kMargin / 2,
                             (bounds.height - kDeleteButtonHeight) / 2, kDeleteButtonWidth,
                             kDeleteButtonHeight});
}

TableViewCell::Part TableViewCell::partAtPoint(QPoint point) const {
    if (showsDeleteConfirmation_ && deleteButtonRect().contains(point)) {
        return Part::DeleteButton;
    }
    if (editing_ && editingStyle_ == TableViewCellEditingStyle::Delete &&
        deleteControlRect().contains(point)) {
        return Part::DeleteControl;
    }
    const bool drawsDetailButton =
        accessoryType_ == TableViewCellAccessoryType::DetailDisclosureButton && !accessoryView_;
    if (drawsDetailButton && accessoryRect().contains(point)) {
        return Part::DetailDisclosureButton;
    }
    return Part::Row;
}

void TableViewCell::layoutSubviews() {
    const Rect bounds = Screen::toPoints(rect());
    const double left = editingInset();
    const double right = accessoryWidth();
    const Rect content{left, 0, std::max(0.0, bounds.width - left - right), bounds.height};
    setFrame(contentView_, content);
    if (accessoryView_) {
        accessoryView_->setVisible(!showsDeleteConfirmation_);
        const Rect accessory = frame(accessoryView_);
        setFrame(accessoryView_,
                 {bounds.width - accessory.width - kMargin / 2,
                  (bounds.height - accessory.height) / 2, accessory.width, accessory.height});
    }
    layoutStandardViews({0, 0, content.width, content.height});
}

void TableViewCell::layoutStandardViews(const Rect& content) {
    double x = kMargin;
    if (imageView_ != nullptr && !imageView_->image().isNull()) {
        const Size size = imageView_->image().size();
        const double height = std::min(size.height, content.height);
        const double width = size.height > 0 ? size.width * height / size.height : 0;
        setFrame(imageView_, {kMargin, (content.height - height) / 2, width, height});
        x = kMargin + width + kMargin;
    }
    const double width = std::max(0.0, content.width - x - kMargin);
    switch (style_) {
    case TableViewCellStyle::Default:
        setFrame(textLabel_, {x, 0, width, content.height});
        break;
    case TableViewCellStyle::Value1: {
        const double wanted = Screen::toPoints(
            detailTextLabel_->fontMetrics().horizontalAdvance(detailTextLabel_->text()) + 1);
        const double detailWidth = std::min(wanted, width * 0.6);
        setFrame(detailTextLabel_, {x + width - detailWidth, 0, detailWidth, content.height});
        setFrame(textLabel_, {x, 0, std::max(0.0, width - detailWidth - 5), content.height});
        break;
    }
    case TableViewCellStyle::Value2:
        setFrame(textLabel_, {0, 0, kValue2TitleWidth + x - kMargin, content.height});
        setFrame(detailTextLabel_, {kValue2TitleWidth + x - kMargin + 6, 0,
                                    std::max(0.0, width - kValue2TitleWidth - 6), content.height});
        break;
    case TableViewCellStyle::Subtitle: {
        const double titleHeight = 22;
        const double detailHeight = 18;
        const double top = std::max(0.0, (content.height - titleHeight - detailHeight) / 2);
        setFrame(textLabel_, {x, top, width, titleHeight});
        setFrame(detailTextLabel_, {x, top + titleHeight, width, detailHeight});
        break;
    }
    }
}

void TableViewCell::resizeEvent(QResizeEvent*) {
    layoutSubviews();
}

void TableViewCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintBackground(painter);
    paintAccessory(painter);
    if (editing_ && editingStyle_ == TableViewCellEditingStyle::Delete) {
        const int side = Screen::px(kAccessorySide + 2);
        const QRect control = deleteControlRect();
        painting::drawDeleteControl(painter, QRectF(control.center().x() - side / 2.0,
                                                    control.center().y() - side / 2.0, side, side));
    }
    if (showsDeleteConfirmation_) {
        const QRectF button = deleteButtonRect();
        painting::fillGloss(painter, button, QColor(230, 60, 60), QColor(200, 10, 10),
                            Screen::px(5));
        painter.setPen(Qt::white);
        painter.setFont(boldSystemFontOfSize(13));
        painter.drawText(button, Qt::AlignCenter, QStringLiteral("Delete"));
    }
}

void TableViewCell::paintBackground(QPainter& painter) {
    const QRectF box = QRectF(rect()).adjusted(0.5, 0, -0.5, 0);
    QPainterPath shape;
    const double radius = Screen::px(kCornerRadius);
    switch (groupPosition_) {
    case GroupPosition::None:
        shape.addRect(rect());
        break;
    case GroupPosition::Single:
        shape.addRoundedRect(box.adjusted(0, 0.5, 0, -0.5), radius, radius);
        break;
    case GroupPosition::Top:
        shape.moveTo(box.left(), box.bottom());
        shape.lineTo(box.left(), box.top() + radius);
        shape.quadTo(box.left(), box.top() + 0.5, box.left() + radius, box.top() + 0.5);
        shape.lineTo(box.right() - radius, box.top() + 0.5);
        shape.quadTo(box.right(), box.top() + 0.5, box.right(), box.top() + radius);
        shape.lineTo(box.right(), box.bottom());
        shape.closeSubpath();
        break;
    case GroupPosition::Bottom:
        shape.moveTo(box.left(), box.top());
        shape.lineTo(box.right(), box.top());
        shape.lineTo(box.right(), box.bottom() - radius);
        shape.quadTo(box.right(), box.bottom() - 0.5, box.right() - radius, box.bottom() - 0.5);
        shape.lineTo(box.left() + radius, box.bottom() - 0.5);
        shape.quadTo(box.left(), box.bottom() - 0.5, box.left(), box.bottom() - radius);
        shape.closeSubpath();
        break;
    case GroupPosition::Middle:
        shape.addRect(box);
        break;
    }
    painter.fillPath(shape, backgroundColor_.toQColor());
    if (showsHighlight()) {
        QLinearGradient gradient(0, 0, 0, height());
        if (selectionStyle_ == TableViewCellSelectionStyle::Blue) {
            gradient.setColorAt(0, QColor(5, 140, 245));
            gradient.setColorAt(1, QColor(1, 93, 230));
        } else {
            gradient.setColorAt(0, QColor(180, 180, 180));
            gradient.setColorAt(1, QColor(140, 140, 140));
        }
        painter.fillPath(shape, gradient);
    }
    const bool grouped = groupPosition_ != GroupPosition::None;
    if (grouped) {
        painter.setPen(QPen(QColor(171, 171, 171), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);
    }
    const bool lastInGroup =
        groupPosition_ == GroupPosition::Bottom || groupPosition_ == GroupPosition::Single;
    if (separatorShown_ && !lastInGroup) {
        painter.setPen(QPen(grouped ? QColor(171, 171, 171) : separatorColor_, 1));
        const double y = height() - 0.5;
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
    }
}

void TableViewCell::paintAccessory(QPainter& painter) {
    if (accessoryView_ || showsDeleteConfirmation_) {
        return;
    }
    const QRect area = accessoryRect();
    const bool light = showsHighlight();
    switch (accessoryType_) {
    case TableViewCellAccessoryType::None:
        break;
    case TableViewCellAccessoryType::DisclosureIndicator: {
        const int side = Screen::px(kAccessorySide * 0.75);
        painting::drawChevron(
            painter,
            QRectF(area.left() + (area.width() - Screen::px(kMargin) - side) / 2.0,
                   area.center().y() - side / 2.0, side, side),
            light ? QColor(Qt::white) : QColor(128, 128, 128));
        break;
    }
    case TableViewCellAccessoryType::Checkmark: {
        const int side = Screen::px(kAccessorySide * 0.8);
        painting::drawCheckmark(
            painter,
            QRectF(area.left() + (area.width() - Screen::px(kMargin) - side) / 2.0,
                   area.center().y() - side / 2.0, side, side),
            light ? QColor(Qt::white) : QColor(50, 79, 133));
        break;
    }
    case TableViewCellAccessoryType::DetailDisclosureButton: {
        const int side = Screen::px(kDetailButtonSide);
        painting::drawDetailDisclosure(
            painter, QRectF(area.left(), area.center().y() - side / 2.0, side, side), false);
        break;
    }
    }
}

} // namespace ui
