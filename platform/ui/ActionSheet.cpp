#include "platform/ui/ActionSheet.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"
#include "platform/ui/Overlay.h"
#include "platform/ui/SheetButton.h"

#include <QVBoxLayout>

namespace ui {

namespace {
QList<ActionSheet*>& shownSheets() {
    static QList<ActionSheet*> sheets;
    return sheets;
}
} // namespace

ActionSheet::ActionSheet(const QString& title, ActionSheetDelegate* delegate,
                         const QString& cancelButtonTitle, const QString& destructiveButtonTitle,
                         const QStringList& otherButtonTitles)
    : title_(title), delegate_(delegate) {
    if (!destructiveButtonTitle.isEmpty()) {
        destructiveIndex_ = 0;
        titles_.append(destructiveButtonTitle);
    }
    titles_.append(otherButtonTitles);
    if (!cancelButtonTitle.isEmpty()) {
        cancelIndex_ = static_cast<int>(titles_.size());
        titles_.append(cancelButtonTitle);
    }
}

ActionSheet::~ActionSheet() {
    shownSheets().removeAll(this);
    delete overlay_.data();
}

int ActionSheet::addButtonWithTitle(const QString& title) {
    titles_.append(title);
    return numberOfButtons() - 1;
}

int ActionSheet::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelIndex_ && i != destructiveIndex_) {
            return i;
        }
    }
    return -1;
}

QWidget* ActionSheet::overlay() const {
    return overlay_;
}

QList<ActionSheet*> ActionSheet::visibleSheets() {
    return shownSheets();
}

void ActionSheet::showInView(QWidget* /*view*/) {
    show();
}

void ActionSheet::showFromTabBar(QWidget* /*tabBar*/) {
    show();
}

void ActionSheet::showFromToolbar(QWidget* /*toolbar*/) {
    show();
}

void ActionSheet::show() {
    if (visible_ || dismissed_) {
        return;
    }
    const bool black =
        style_ == ActionSheetStyle::BlackTranslucent || style_ == ActionSheetStyle::BlackOpaque;
    auto* overlay = new Overlay(black ? Overlay::Look::BlackSheet : Overlay::Look::Sheet);
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    const int margin = Screen::px(20);
    column->setContentsMargins(margin, Screen::px(title_.isEmpty() ? 18 : 12), margin,
                               Screen::px(18));
    column->setSpacing(Screen::px(8));
    if (!title_.isEmpty()) {
        auto* label = new Label(title_, panel);
        label->setFont(systemFontOfSize(13));
        label->setTextColor(Color::white());
        label->setTextAlignment(Qt::AlignCenter);
        label->setNumberOfLines(0);
        column->addWidget(label);
    }
    for (const QPointer<QWidget>& view : contentViews_) {
        if (view) {
            column->addWidget(view, 0, Qt::AlignHCenter);
        }
    }
    // The device shows the buttons in index order, the cancel button apart at the end.
    for (int index = 0; index < numberOfButtons(); ++index) {
        SheetButton::Role role =
            black ? SheetButton::Role::SheetOtherOnBlack : SheetButton::Role::SheetOther;
        if (index == destructiveIndex_) {
            role = SheetButton::Role::SheetDestructive;
        } else if (index == cancelIndex_) {
            role = SheetButton::Role::SheetCancel;
            column->addSpacing(Screen::px(8));
        }
        auto* button = new SheetButton(titles_[index], role, panel);
        QObject::connect(button, &QAbstractButton::clicked, this,
                         [this, index] { dismissWithClickedButtonIndexAnimated(index, true); });
        column->addWidget(button);
    }
    overlay->setPanel(panel);
    overlay_ = overlay;
    overlay->present();
    visible_ = true;
    shownSheets().append(this);
}

void ActionSheet::dismissWithClickedButtonIndexAnimated(int buttonIndex, bool /*animated*/) {
    if (dismissed_) {
        return;
    }
    dismissed_ = true;
    if (delegate_ != nullptr) {
        delegate_->actionSheetClickedButtonAtIndex(this, buttonIndex);
        delegate_->actionSheetWillDismissWithButtonIndex(this, buttonIndex);
    }
    visible_ = false;
    shownSheets().removeAll(this);
    if (overlay_) {
        overlay_->hide();
        overlay_->deleteLater();
    }
    if (delegate_ != nullptr) {
        delegate_->actionSheetDidDismissWithButtonIndex(this, buttonIndex);
    }
    deleteLater();
}

} // namespace ui
