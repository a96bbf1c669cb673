#pragma once

namespace ui {

class AlertView;

// Hears which button of an alert the user chose, and the alert's dismissal.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(AlertView* /*alertView*/, int /*buttonIndex*/) {}
    virtual void alertViewCancel(AlertView* /*alertView*/) {}
    virtual void alertViewWillDismissWithButtonIndex(AlertView* /*alertView*/,
                                                     int /*buttonIndex*/) {}
    virtual void alertViewDidDismissWithButtonIndex(AlertView* /*alertView*/, int /*buttonIndex*/) {
    }
};

} // namespace ui
