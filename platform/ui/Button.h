#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Image.h"

#include <QAbstractButton>

#include <functional>
#include <optional>

namespace ui {

enum class ButtonType {
    Custom = 0,
    RoundedRect = 1,
    DetailDisclosure = 2,
    InfoLight = 3,
    InfoDark = 4,
    ContactAdd = 5
};

// A push button drawn as the touch toolkit draws its standard buttons: a rounded
// white rectangle with a blue title, the round blue detail-disclosure button, the
// "i" info buttons, the blue plus; a Custom button shows only its image and title.
class Button : public QAbstractButton {
public:
    explicit Button(ButtonType type = ButtonType::Custom, QWidget* parent = nullptr);

    static Button* buttonWithType(ButtonType type);

    ButtonType buttonType() const { return type_; }
    void setTitle(const QString& title);
    QString title() const { return text(); }
    void setTitleColor(Color color);
    void setImage(const Image& image);
    Image image() const { return image_; }
    void setBackgroundImage(const Image& image);
    void setFont(const QFont& font);

    void addTargetActionForTouchUpInside(std::function<void()> action);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRoundedRect(QPainter& painter);
    void paintContent(QPainter& painter, const QRectF& area, const QColor& titleColor);

    ButtonType type_;
    Image image_;
    Image backgroundImage_;
    std::optional<Color> titleColor_;
};

} // namespace ui
