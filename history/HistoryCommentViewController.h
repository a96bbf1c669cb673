#pragma once

#include "platform/ui/ViewController.h"

#include <functional>

class QLineEdit;

// A one-line editor for the comment of a history record: Return or "Save" hands the
// text to the opener and goes back; "Back" leaves without saving.
class HistoryCommentViewController : public ui::ViewController {
public:
    using SaveAction = std::function<void(const QString& comments)>;

    HistoryCommentViewController(const QString& comments, SaveAction save);

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void saveAction();

    QLineEdit* lineEdit() const { return lineEdit_; }

private:
    QString comments_;
    SaveAction save_;
    QLineEdit* lineEdit_ = nullptr;
};
