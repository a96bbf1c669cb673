#pragma once

#include "platform/ui/BarStyle.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace ui {

class BarButton;
class Label;
class NavigationItem;

// The 44-point bar at the top of a navigation controller: the top item's title (or
// title view) in the middle, its left button or else a back button, its right
// button.
class NavigationBar : public QWidget {
public:
    explicit NavigationBar(QWidget* parent = nullptr);

    void setBarStyle(BarStyle style);
    BarStyle barStyle() const { return barStyle_; }

    // Shows `item`; a back button titled `backTitle` when the item has no left button
    // and `backTitle` is not empty.
    void showItem(NavigationItem* item, const QString& backTitle);
    NavigationItem* topItem() const { return item_; }
    void setBackAction(std::function<void()> action) { backAction_ = std::move(action); }

    QString title() const;
    // The back button's title, or an empty string when no back button shows.
    QString backButtonTitle() const;
    BarButton* backButton() const { return back_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutContent();
    void styleButtons();

    BarStyle barStyle_ = BarStyle::Default;
    NavigationItem* item_ = nullptr;
    Label* titleLabel_;
    BarButton* back_;
    QPointer<QWidget> left_;
    QPointer<QWidget> right_;
    QPointer<QWidget> titleView_;
    std::function<void()> backAction_;
};

} // namespace ui
