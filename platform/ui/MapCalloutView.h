#pragma once

#include "platform/ui/Geometry.h"

#include <QString>
#include <QWidget>

namespace ui {

// The bubble over a selected annotation: its title in bold over its subtitle, with a
// pointer down to the pin's head.
class MapCalloutView : public QWidget {
public:
    static constexpr double kPointerHeight = 10;

    explicit MapCalloutView(QWidget* parent = nullptr);

    QString title() const { return title_; }
    QString subtitle() const { return subtitle_; }
    // Sets the texts and sizes the bubble to fit them.
    void setTexts(const QString& title, const QString& subtitle);
    // Places the bubble so that its pointer's tip is at `tip` (superview points).
    void setAnchor(Point tip);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Size fittingSize() const;

    QString title_;
    QString subtitle_;
};

} // namespace ui
