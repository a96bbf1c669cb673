#pragma once

#include <QList>
#include <QWidget>

#include <functional>

namespace ui {

class TabBarItem;

// The 49-point black bar at the bottom of a tab bar controller: one item per
// controller, its image tinted (light blue when selected, gray otherwise) above its
// 10-point title. A click selects an item.
class TabBar : public QWidget {
public:
    explicit TabBar(QWidget* parent = nullptr);

    // The items stay owned by their view controllers.
    void setItems(const QList<TabBarItem*>& items);
    QList<TabBarItem*> items() const { return items_; }
    void setSelectedIndex(int index);
    int selectedIndex() const { return selected_; }
    TabBarItem* selectedItem() const;
    // Called with the index of the item the user chose.
    void setSelectionHandler(std::function<void(int)> handler) { handler_ = std::move(handler); }
    // Acts as a touch on the item at `index`.
    void tapItemAtIndex(int index);

    QRect itemRect(int index) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int itemAt(QPoint position) const;
    void paintItem(QPainter& painter, int index);

    QList<TabBarItem*> items_;
    int selected_ = -1;
    int pressed_ = -1;
    std::function<void(int)> handler_;
};

} // namespace ui
