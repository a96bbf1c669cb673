#pragma once

#include "platform/ui/BarStyle.h"

#include <QAbstractButton>

namespace ui {

class BarButtonItem;

// The widget of a bar button item, or a navigation bar's back button: draws the
// item's title, image or system glyph, bordered or plain, in the colours of the
// bar it sits on.
class BarButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit BarButton(BarButtonItem* item, QWidget* parent = nullptr);
    // A back button (the arrow-shaped one) with the given title.
    explicit BarButton(const QString& backTitle, QWidget* parent = nullptr);

    void setAppearance(bool bordered, BarStyle style);
    bool isBordered() const { return bordered_; }
    bool isBackButton() const { return item_ == nullptr; }
    // The item's title or width changed.
    void refresh();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBackground(QPainter& painter, const QRectF& box);
    QColor frameColor() const;

    BarButtonItem* item_ = nullptr;
    bool bordered_ = true;
    BarStyle barStyle_ = BarStyle::Default;
};

} // namespace ui
