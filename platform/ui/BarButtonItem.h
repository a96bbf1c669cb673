#pragma once

#include "platform/ui/Image.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

namespace ui {

enum class BarButtonSystemItem {
    Done = 0,
    Cancel,
    Edit,
    Save,
    Add,
    FlexibleSpace,
    FixedSpace,
    Compose,
    Reply,
    Action,
    Organize,
    Bookmarks,
    Search,
    Refresh,
    Stop,
    Camera,
    Trash,
    Play,
    Pause,
    Rewind,
    FastForward
};

enum class BarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };

// A button for a navigation bar or a toolbar: a system item (drawn glyph or standard
// word), a title, an image or a custom view. The bar that shows it asks for its
// widget(); triggering runs the item's action.
class BarButtonItem {
public:
    BarButtonItem(BarButtonSystemItem systemItem, std::function<void()> action);
    BarButtonItem(const QString& title, BarButtonItemStyle style, std::function<void()> action);
    BarButtonItem(const Image& image, BarButtonItemStyle style, std::function<void()> action);
    // Takes ownership of the view.
    explicit BarButtonItem(QWidget* customView);
    ~BarButtonItem();

    BarButtonItem(const BarButtonItem&) = delete;
    BarButtonItem& operator=(const BarButtonItem&) = delete;

    QString title() const { return title_; }
    void setTitle(const QString& title);
    Image image() const { return image_; }
    BarButtonItemStyle style() const { return style_; }
    void setStyle(BarButtonItemStyle style);
    std::optional<BarButtonSystemItem> systemItem() const { return systemItem_; }
    // A name for the item also when it shows a glyph ("Refresh", "Trash").
    QString accessibilityLabel() const;
    QWidget* customView() const { return customView_; }

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    // Width in points; 0 = as wide as the content needs.
    void setWidth(double width);
    double width() const { return width_; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    void setAction(std::function<void()> action) { action_ = std::move(action); }
    void trigger();

    bool isSpace() const;
    // The widget that shows the item, made on first use; nullptr for the spaces.
    QWidget* widget();

private:
    std::optional<BarButtonSystemItem> systemItem_;
    QString title_;
    Image image_;
    BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
    QPointer<QWidget> customView_;
    QPointer<QWidget> widget_;
    std::function<void()> action_;
    bool enabled_ = true;
    double width_ = 0;
    int tag_ = 0;
};

} // namespace ui
