#include "platform/ui/BarButtonItem.h"

#include "platform/ui/BarButton.h"

namespace ui {

namespace {

QString standardTitle(BarButtonSystemItem item) {
    switch (item) {
    case BarButtonSystemItem::Done:
        return QStringLiteral("Done");
    case BarButtonSystemItem::Cancel:
        return QStringLiteral("Cancel");
    case BarButtonSystemItem::Edit:
        return QStringLiteral("Edit");
    case BarButtonSystemItem::Save:
        return QStringLiteral("Save");
    default:
        return {};
    }
}

QString glyphName(BarButtonSystemItem item) {
    static const char* const names[] = {
        "Done",    "Cancel", "Edit",   "Save",     "Add",       "Flexible Space", "Fixed Space",
        "Compose", "Reply",  "Action", "Organize", "Bookmarks", "Search",         "Refresh",
        "Stop",    "Camera", "Trash",  "Play",     "Pause",     "Rewind",         "Fast Forward"};
    return QString::fromLatin1(names[static_cast<int>(item)]);
}

} // namespace

BarButtonItem::BarButtonItem(BarButtonSystemItem systemItem, std::function<void()> action)
    : systemItem_(systemItem), title_(standardTitle(systemItem)), action_(std::move(action)) {
    const bool isDone =
        systemItem == BarButtonSystemItem::Done || systemItem == BarButtonSystemItem::Save;
    style_ = isDone ? BarButtonItemStyle::Done : BarButtonItemStyle::Bordered;
}

BarButtonItem::BarButtonItem(const QString& title, BarButtonItemStyle style,
                             std::function<void()> action)
    : title_(title), style_(style), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(const Image& image, BarButtonItemStyle style,
                             std::function<void()> action)
    : image_(image), style_(style), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(QWidget* customView) : customView_(customView) {}

BarButtonItem::~BarButtonItem() {
    delete customView_.data();
    delete widget_.data();
}

void BarButtonItem::setTitle(const QString& title) {
    title_ = title;
    if (auto* button = qobject_cast<BarButton*>(widget_.data())) {
        button->refresh();
    }
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
    style_ = style;
    if (widget_) {
        widget_->update();
    }
}

QString BarButtonItem::accessibilityLabel() const {
    if (!title_.isEmpty() || !systemItem_) {
        return title_;
    }
    return glyphName(*systemItem_);
}

void BarButtonItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (widget_) {
        widget_->setEnabled(enabled);
    }
}

void BarButtonItem::setWidth(double width) {
    width_ = width;
    if (auto* button = qobject_cast<BarButton*>(widget_.data())) {
        button->refresh();
    }
}

void BarButtonItem::trigger() {
    if (enabled_ && action_) {
        action_();
    }
}

bool BarButtonItem::isSpace() const {
    return systemItem_ == BarButtonSystemItem::FlexibleSpace ||
           systemItem_ == BarButtonSystemItem::FixedSpace;
}

QWidget* BarButtonItem::widget() {
    if (customView_) {
        return customView_;
    }
    if (isSpace()) {
        return nullptr;
    }
    if (!widget_) {
        widget_ = new BarButton(this);
        widget_->setEnabled(enabled_);
    }
    return widget_;
}

} // namespace ui
