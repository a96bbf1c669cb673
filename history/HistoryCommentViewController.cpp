#include "history/HistoryCommentViewController.h"

#include "common/Resources.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

#include <QLineEdit>
#include <QVBoxLayout>

HistoryCommentViewController::HistoryCommentViewController(const QString& comments, SaveAction save)
    : comments_(comments), save_(std::move(save)) {
    setTitle(Resources::text("EditComment"));
}

void HistoryCommentViewController::loadView() {
    auto* view = new QWidget();
    view->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(view);
    const int margin = ui::Screen::px(10);
    column->setContentsMargins(margin, margin, margin, margin);
    lineEdit_ = new QLineEdit(comments_, view);
    lineEdit_->setFont(ui::systemFontOfSize(17));
    lineEdit_->setClearButtonEnabled(true);
    column->addWidget(lineEdit_);
    column->addStretch(1);
    setView(view);
}

void HistoryCommentViewController::viewDidLoad() {
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Save, [this] { saveAction(); }));
    QObject::connect(lineEdit_, &QLineEdit::returnPressed, this, [this] { saveAction(); });
}

void HistoryCommentViewController::viewDidAppear(bool /*animated*/) {
    lineEdit_->setFocus(Qt::OtherFocusReason);
    lineEdit_->selectAll();
}

void HistoryCommentViewController::saveAction() {
    if (save_) {
        save_(lineEdit_->text());
    }
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}
