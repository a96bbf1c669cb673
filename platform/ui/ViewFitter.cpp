#include "platform/ui/ViewFitter.h"

#include <QEvent>
#include <QWidget>

namespace ui {

ViewFitter::ViewFitter(QWidget* child) : QObject(child), child_(child) {}

void ViewFitter::fill(QWidget* child, QWidget* parent) {
    // One fitter per child, watching its current parent.
    for (QObject* object : child->children()) {
        if (auto* old = qobject_cast<ViewFitter*>(object)) {
            delete old;
            break;
        }
    }
    if (child->parentWidget() != parent) {
        child->setParent(parent);
    }
    child->setGeometry(parent->rect());
    parent->installEventFilter(new ViewFitter(child));
}

bool ViewFitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == child_->parentWidget()) {
        child_->setGeometry(child_->parentWidget()->rect());
    }
    return false;
}

} // namespace ui
