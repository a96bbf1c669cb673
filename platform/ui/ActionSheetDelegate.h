#pragma once

namespace ui {

class ActionSheet;

// Hears which button of an action sheet the user chose, and the sheet's dismissal.
class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;
    virtual void actionSheetClickedButtonAtIndex(ActionSheet* /*actionSheet*/,
                                                 int /*buttonIndex*/) {}
    virtual void actionSheetCancel(ActionSheet* /*actionSheet*/) {}
    virtual void actionSheetWillDismissWithButtonIndex(ActionSheet* /*actionSheet*/,
                                                       int /*buttonIndex*/) {}
    virtual void actionSheetDidDismissWithButtonIndex(ActionSheet* /*actionSheet*/,
                                                      int /*buttonIndex*/) {}
};

} // namespace ui
