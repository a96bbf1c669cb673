#pragma once

#include "platform/ui/ActionSheetDelegate.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace ui {

class Overlay;

enum class ActionSheetStyle { Automatic = -1, Default = 0, BlackTranslucent = 1, BlackOpaque = 2 };

// A set of choices that slides up from the bottom of the key window. Indexes as
// the device numbers them: the destructive button first (0) when there is one, the
// others in order, the cancel button last. Deletes itself after it is dismissed.
class ActionSheet : public QObject {
public:
    ActionSheet(const QString& title, ActionSheetDelegate* delegate,
                const QString& cancelButtonTitle, const QString& destructiveButtonTitle,
                const QStringList& otherButtonTitles);
    ~ActionSheet() override;

    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    ActionSheetDelegate* delegate() const { return delegate_; }
    void setDelegate(ActionSheetDelegate* delegate) { delegate_ = delegate; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    void setActionSheetStyle(ActionSheetStyle style) { style_ = style; }
    ActionSheetStyle actionSheetStyle() const { return style_; }

    int addButtonWithTitle(const QString& title);
    int destructiveButtonIndex() const { return destructiveIndex_; }
    int cancelButtonIndex() const { return cancelIndex_; }
    int firstOtherButtonIndex() const;
    int numberOfButtons() const { return static_cast<int>(titles_.size()); }
    QString buttonTitleAtIndex(int index) const { return titles_.value(index); }

    // A view shown below the title (a progress bar); the sheet's panel takes it over.
    void addContentView(QWidget* view) { contentViews_.append(view); }

    void showInView(QWidget* view);
    void showFromTabBar(QWidget* tabBar);
    void showFromToolbar(QWidget* toolbar);
    void dismissWithClickedButtonIndexAnimated(int buttonIndex, bool animated);
    bool isVisible() const { return visible_; }
    QWidget* overlay() const;

    static QList<ActionSheet*> visibleSheets();

private:
    void show();

    QString title_;
    ActionSheetDelegate* delegate_;
    QStringList titles_;
    int destructiveIndex_ = -1;
    int cancelIndex_ = -1;
    int tag_ = 0;
    ActionSheetStyle style_ = ActionSheetStyle::Automatic;
    bool visible_ = false;
    bool dismissed_ = false;
    QPointer<Overlay> overlay_;
    QList<QPointer<QWidget>> contentViews_;
};

} // namespace ui
