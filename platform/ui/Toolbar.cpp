#include "platform/ui/Toolbar.h"

#include "platform/ui/BarButton.h"
#include "platform/ui/BarPainting.h"
#include "platform/ui/Geometry.h"

#include <QHBoxLayout>
#include <QPainter>

namespace ui {

Toolbar::Toolbar(QWidget* parent) : QWidget(parent), row_(new QHBoxLayout(this)) {
    row_->setContentsMargins(Screen::px(6), 0, Screen::px(6), 0);
    row_->setSpacing(Screen::px(10));
    setFrame(this, {0, 0, 320, 44});
}

Toolbar::~Toolbar() = default;

void Toolbar::setItems(const QList<BarButtonItem*>& items) {
    while (QLayoutItem* old = row_->takeAt(0)) {
        delete old;
    }
    items_.clear();
    for (BarButtonItem* item : items) {
        items_.emplace_back(item);
    }
    rebuild();
}

QList<BarButtonItem*> Toolbar::items() const {
    QList<BarButtonItem*> list;
    for (const auto& item : items_) {
        list.append(item.get());
    }
    return list;
}

void Toolbar::setBarStyle(BarStyle style) {
    barStyle_ = style;
    rebuild();
    update();
}

void Toolbar::rebuild() {
    while (QLayoutItem* old = row_->takeAt(0)) {
        delete old;
    }
    for (const auto& item : items_) {
        if (item->systemItem() == BarButtonSystemItem::FlexibleSpace) {
            row_->addStretch(1);
        } else if (item->systemItem() == BarButtonSystemItem::FixedSpace) {
            row_->addSpacing(Screen::px(item->width()));
        } else if (QWidget* widget = item->widget()) {
            if (auto* button = qobject_cast<BarButton*>(widget)) {
                // Glyph items stand bare on a toolbar; worded ones keep their border.
                const bool glyph = item->systemItem() && item->title().isEmpty();
                button->setAppearance(!glyph && item->style() != BarButtonItemStyle::Plain,
                                      barStyle_);
            }
            widget->setParent(this);
            row_->addWidget(widget, 0, Qt::AlignVCenter);
            widget->show();
        }
    }
}

QSize Toolbar::sizeHint() const {
    return QSize(Screen::px(320), Screen::px(44));
}

void Toolbar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBarBackground(painter, rect(), barStyle_);
}

} // namespace ui
