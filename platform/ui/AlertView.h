#pragma once

#include "platform/ui/AlertViewDelegate.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

namespace ui {

class Overlay;

// A modal-looking message with buttons over the key window. Showing it does not
// block: the delegate hears the chosen button, then the alert deletes itself. The
// cancel button, when there is one, has index 0; the others follow in order.
class AlertView : public QObject {
public:
    AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
              const QString& cancelButtonTitle, const QStringList& otherButtonTitles);
    ~AlertView() override;

    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    QString message() const { return message_; }
    void setMessage(const QString& message) { message_ = message; }
    AlertViewDelegate* delegate() const { return delegate_; }
    void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    int addButtonWithTitle(const QString& title);
    int cancelButtonIndex() const { return cancelIndex_; }
    int firstOtherButtonIndex() const;
    int numberOfButtons() const { return static_cast<int>(titles_.size()); }
    QString buttonTitleAtIndex(int index) const { return titles_.value(index); }

    void show();
    // Tells the delegate (clicked, will dismiss, did dismiss), takes the alert off
    // the screen and deletes it later.
    void dismissWithClickedButtonIndexAnimated(int buttonIndex, bool animated);
    bool isVisible() const { return visible_; }
    // The panel on screen, or nullptr.
    QWidget* overlay() const;

    static QList<AlertView*> visibleAlerts();

private:
    void buildOverlay();
    QList<int> buttonOrder() const;

    QString title_;
    QString message_;
    AlertViewDelegate* delegate_;
    QStringList titles_;
    int cancelIndex_ = -1;
    int tag_ = 0;
    bool visible_ = false;
    bool dismissed_ = false;
    QPointer<Overlay> overlay_;
};

} // namespace ui
