#pragma once

#include <QAbstractButton>

namespace ui {

// A button of an alert or an action sheet, drawn in its role's colours: glossy on
// the alert's blue, white or dark in a sheet, red when destructive, dark for cancel.
class SheetButton : public QAbstractButton {
public:
    enum class Role {
        AlertOther,
        AlertCancel,
        SheetOther,
        SheetOtherOnBlack,
        SheetDestructive,
        SheetCancel
    };

    SheetButton(const QString& title, Role role, QWidget* parent = nullptr);

    Role role() const { return role_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Role role_;
};

} // namespace ui
