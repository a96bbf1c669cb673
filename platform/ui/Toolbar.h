#pragma once

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/BarStyle.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

class QHBoxLayout;

namespace ui {

// A 44-point bar of bar button items laid out left to right; flexible spaces share
// the free width, fixed spaces take their item's width.
class Toolbar : public QWidget {
public:
    explicit Toolbar(QWidget* parent = nullptr);
    ~Toolbar() override;

    // Takes ownership of the items.
    void setItems(const QList<BarButtonItem*>& items);
    QList<BarButtonItem*> items() const;
    void setBarStyle(BarStyle style);
    BarStyle barStyle() const { return barStyle_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuild();

    std::vector<std::unique_ptr<BarButtonItem>> items_;
    QHBoxLayout* row_;
    BarStyle barStyle_ = BarStyle::Default;
};

} // namespace ui
