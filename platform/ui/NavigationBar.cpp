#include "platform/ui/NavigationBar.h"

#include "platform/ui/BarButton.h"
#include "platform/ui/BarPainting.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"

#include <QPainter>

#include <algorithm>

namespace ui {

namespace {
constexpr double kBarHeight = 44;
constexpr double kMargin = 5;
} // namespace

NavigationBar::NavigationBar(QWidget* parent)
    : QWidget(parent), titleLabel_(new Label(this)), back_(new BarButton(QString(), this)) {
    titleLabel_->setFont(boldSystemFontOfSize(20));
    titleLabel_->setTextAlignment(Qt::AlignCenter);
    back_->hide();
    connect(back_, &QAbstractButton::clicked, this, [this] {
        if (backAction_) {
            backAction_();
        }
    });
    setFrame(this, {0, 0, 320, kBarHeight});
    setBarStyle(BarStyle::Default);
}

void NavigationBar::setBarStyle(BarStyle style) {
    barStyle_ = style;
    titleLabel_->setTextColor(Color::white());
    styleButtons();
    update();
}

void NavigationBar::showItem(NavigationItem* item, const QString& backTitle) {
    for (QWidget* old : {left_.data(), right_.data(), titleView_.data()}) {
        if (old != nullptr && old != back_ && old->parentWidget() == this) {
            old->hide();
        }
    }
    back_->hide();
    item_ = item;
    left_ = right_ = titleView_ = nullptr;
    if (item != nullptr) {
        if (item->leftBarButtonItem() != nullptr) {
            left_ = item->leftBarButtonItem()->widget();
        } else if (!backTitle.isEmpty() && !item->hidesBackButton()) {
            back_->setText(backTitle);
            left_ = back_;
        }
        if (item->rightBarButtonItem() != nullptr) {
            right_ = item->rightBarButtonItem()->widget();
        }
        titleView_ = item->titleView();
        titleLabel_->setText(item->title());
    } else {
        titleLabel_->clear();
    }
    for (QWidget* shown : {left_.data(), right_.data(), titleView_.data()}) {
        if (shown != nullptr) {
            shown->setParent(this);
            shown->show();
        }
    }
    titleLabel_->setVisible(titleView_.isNull());
    styleButtons();
    layoutContent();
}

QString NavigationBar::title() const {
    return item_ != nullptr ? item_->title() : QString();
}

QString NavigationBar::backButtonTitle() const {
    return left_ == back_ ? back_->text() : QString();
}

QSize NavigationBar::sizeHint() const {
    return QSize(Screen::px(320), Screen::px(kBarHeight));
}

void NavigationBar::styleButtons() {
    for (QWidget* widget : {left_.data(), right_.data()}) {
        if (auto* button = qobject_cast<BarButton*>(widget)) {
            button->setAppearance(true, barStyle_);
        }
    }
    back_->setAppearance(true, barStyle_);
}

void NavigationBar::resizeEvent(QResizeEvent*) {
    layoutContent();
}

void NavigationBar::layoutContent() {
    const int margin = Screen::px(kMargin);
    int leftEdge = margin;
    int rightEdge = width() - margin;
    auto place = [this](QWidget* widget, int x) {
        const QSize size = widget->sizeHint().isValid() ? widget->sizeHint() : widget->size();
        const int w = std::min(size.width(), width() / 3);
        const int h = std::min(size.height(), height());
        widget->setGeometry(x, (height() - h) / 2, w, h);
        return w;
    };
    if (left_) {
        leftEdge += place(left_, margin) + margin;
    }
    if (right_) {
        const int w =
            std::min(right_->sizeHint().isValid() ? right_->sizeHint().width() : right_->width(),
                     width() / 3);
        place(right_, width() - margin - w);
        rightEdge -= w + margin;
    }
    // The title is centred on the bar, pushed aside by buttons it would overlap.
    QWidget* title = titleView_ ? titleView_.data() : titleLabel_;
    const int wanted =
        titleView_ ? titleView_->width()
                   : titleLabel_->fontMetrics().horizontalAdvance(titleLabel_->text()) + margin * 2;
    const int available = std::max(0, rightEdge - leftEdge);
    const int w = std::min(wanted, available);
    int x = (width() - w) / 2;
    x = std::clamp(x, leftEdge, std::max(leftEdge, rightEdge - w));
    const int h = titleView_ ? std::min(titleView_->height(), height()) : height();
    title->setGeometry(x, (height() - h) / 2, w, h);
}

void NavigationBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBarBackground(painter, rect(), barStyle_);
}

} // namespace ui
