#include "platform/ui/KeyCommands.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"

#include <QKeyEvent>

namespace ui {

namespace {

// One step from a screen towards what is seen: its modal screen, the selected tab,
// the top of its stack; nullptr at the end.
ViewController* shownInside(ViewController* screen) {
    if (ViewController* modal = screen->modalViewController()) {
        return modal;
    }
    if (auto* tabs = qobject_cast<TabBarController*>(screen)) {
        return tabs->selectedViewController();
    }
    if (auto* navigation = qobject_cast<NavigationController*>(screen)) {
        return navigation->topViewController();
    }
    return nullptr;
}

// The innermost container of type `Container` the person sees through, not hidden
// under a modal screen.
template <class Container> Container* visibleContainer(ViewController* root) {
    Container* found = nullptr;
    for (ViewController* screen = root; screen != nullptr; screen = shownInside(screen)) {
        if (screen->modalViewController() != nullptr) {
            found = nullptr;
        } else if (auto* container = qobject_cast<Container*>(screen)) {
            found = container;
        }
    }
    return found;
}

bool isRefresh(const BarButtonItem* item) {
    return item != nullptr && item->systemItem() == BarButtonSystemItem::Refresh;
}

} // namespace

ViewController* KeyCommands::visibleScreen(ViewController* root) {
    ViewController* screen = root;
    while (screen != nullptr) {
        ViewController* inner = shownInside(screen);
        if (inner == nullptr) {
            break;
        }
        screen = inner;
    }
    return screen;
}

void KeyCommands::focusVisibleTable(ViewController* root) {
    ViewController* screen = visibleScreen(root);
    if (screen == nullptr || !screen->isViewLoaded() || overlayShown()) {
        return;
    }
    QWidget* view = screen->view();
    auto* table = qobject_cast<TableView*>(view);
    if (table == nullptr) {
        table = view->findChild<TableView*>();
    }
    if (table != nullptr && table->isVisible()) {
        table->setFocus(Qt::OtherFocusReason);
    }
}

ViewController* KeyCommands::root() const {
    return window_->rootViewController();
}

bool KeyCommands::overlayShown() {
    return !ActionSheet::visibleSheets().isEmpty() || !AlertView::visibleAlerts().isEmpty();
}

bool KeyCommands::cancelOverlay() {
    // The last one shown is on top.
    if (!ActionSheet::visibleSheets().isEmpty()) {
        ActionSheet* sheet = ActionSheet::visibleSheets().last();
        if (sheet->cancelButtonIndex() >= 0) {
            sheet->dismissWithClickedButtonIndexAnimated(sheet->cancelButtonIndex(), true);
        }
    } else if (!AlertView::visibleAlerts().isEmpty()) {
        AlertView* alert = AlertView::visibleAlerts().last();
        if (alert->cancelButtonIndex() >= 0) {
            alert->dismissWithClickedButtonIndexAnimated(alert->cancelButtonIndex(), true);
        }
    }
    if (!overlayShown()) {
        focusVisibleTable(root());
    }
    return true;
}

bool KeyCommands::goBack() {
    auto* navigation = visibleContainer<NavigationController>(root());
    if (navigation == nullptr) {
        return false;
    }
    // As the back button: a screen that hides it cannot be left this way.
    ViewController* top = navigation->topViewController();
    if (top != nullptr && top->navigationItem()->hidesBackButton()) {
        return true;
    }
    if (navigation->popViewControllerAnimated(true) != nullptr) {
        focusVisibleTable(root());
    }
    return true;
}

bool KeyCommands::selectTab(int index) {
    auto* tabs = visibleContainer<TabBarController>(root());
    if (tabs == nullptr || index < 0 || index >= tabs->viewControllers().size()) {
        return false;
    }
    if (index != tabs->selectedIndex()) {
        tabs->tabBar()->tapItemAtIndex(index);
        focusVisibleTable(root());
    }
    return true;
}

bool KeyCommands::stepTab(int step) {
    auto* tabs = visibleContainer<TabBarController>(root());
    if (tabs == nullptr || tabs->viewControllers().isEmpty()) {
        return false;
    }
    const int count = static_cast<int>(tabs->viewControllers().size());
    return selectTab(((tabs->selectedIndex() + step) % count + count) % count);
}

bool KeyCommands::refresh() {
    ViewController* screen = visibleScreen(root());
    if (screen == nullptr) {
        return false;
    }
    NavigationItem* item = screen->navigationItem();
    for (BarButtonItem* button : {item->rightBarButtonItem(), item->leftBarButtonItem()}) {
        if (isRefresh(button)) {
            button->trigger();
            return true;
        }
    }
    return false;
}

bool KeyCommands::keyPressed(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    const int key = event->key();
    const bool control = modifiers == Qt::ControlModifier;
    if (control && key == Qt::Key_Q) {
        window_->close();
        return true;
    }
    if (overlayShown()) {
        return key != Qt::Key_Escape || cancelOverlay();
    }
    if ((modifiers == Qt::AltModifier && key == Qt::Key_Left) ||
        (modifiers == Qt::NoModifier && key == Qt::Key_Backspace)) {
        return goBack();
    }
    if (control && key == Qt::Key_Tab) {
        return stepTab(+1);
    }
    if ((modifiers == (Qt::ControlModifier | Qt::ShiftModifier) &&
         (key == Qt::Key_Tab || key == Qt::Key_Backtab)) ||
        (control && key == Qt::Key_Backtab)) {
        return stepTab(-1);
    }
    if (control && key >= Qt::Key_1 && key <= Qt::Key_9) {
        return selectTab(key - Qt::Key_1);
    }
    if ((control && key == Qt::Key_R) || (modifiers == Qt::NoModifier && key == Qt::Key_F5)) {
        return refresh();
    }
    return false;
}

bool KeyCommands::mouseButtonPressed(Qt::MouseButton button) {
    if (button != Qt::BackButton || overlayShown()) {
        return false;
    }
    return goBack();
}

} // namespace ui
