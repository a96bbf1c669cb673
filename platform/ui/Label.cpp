#include "platform/ui/Label.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QPainter>

#include <algorithm>

namespace ui {

Label::Label(QWidget* parent) : QLabel(parent) {
    QLabel::setFont(systemFontOfSize(17));
    setTextFormat(Qt::PlainText);
    setAlignment(alignment_);
    applyColors();
}

Label::Label(const QString& text, QWidget* parent) : Label(parent) {
    setText(text);
}

void Label::setTextColor(Color color) {
    textColor_ = color;
    applyColors();
}

void Label::setHighlightedTextColor(Color color) {
    highlightedTextColor_ = color;
    applyColors();
}

void Label::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted) {
        highlighted_ = highlighted;
        applyColors();
    }
}

void Label::setTextAlignment(Qt::Alignment alignment) {
    if (!(alignment & Qt::AlignVertical_Mask)) {
        alignment |= Qt::AlignVCenter;
    }
    alignment_ = alignment;
    setAlignment(alignment);
}

void Label::setNumberOfLines(int lines) {
    numberOfLines_ = lines;
    setWordWrap(lines != 1);
    update();
}

void Label::setBackgroundColor(Color color) {
    backgroundColor_ = color;
    applyColors();
}

void Label::setOpaque(bool opaque) {
    opaque_ = opaque;
    applyColors();
}

void Label::setFont(const QFont& font) {
    QLabel::setFont(font);
}

void Label::applyColors() {
    QPalette p = palette();
    const QColor text = (highlighted_ ? highlightedTextColor_ : textColor_).toQColor();
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    // Opaque is only a drawing hint: a clear background stays clear.
    const Color background = backgroundColor_;
    p.setColor(QPalette::Window, background.toQColor());
    setPalette(p);
    // A highlighted row shows through its labels.
    setAutoFillBackground(background.a > 0 && !highlighted_);
    update();
}

QFont Label::shownFont() const {
    QFont shown = font();
    if (!adjustsFontSizeToFitWidth_) {
        return shown;
    }
    const int width = contentsRect().width();
    const int smallest = std::max(1, Screen::px(minimumFontSize_));
    // Fits when the text needs no truncation, by the same measure the drawing uses.
    auto fits = [&](const QFont& font) {
        return QFontMetrics(font).elidedText(text(), Qt::ElideRight, width) == text();
    };
    while (shown.pixelSize() > smallest && !fits(shown)) {
        shown.setPixelSize(shown.pixelSize() - 1);
    }
    return shown;
}

void Label::paintEvent(QPaintEvent* event) {
    if (numberOfLines_ != 1 || textFormat() == Qt::RichText) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect area = contentsRect();
    const QFont shown = shownFont();
    painter.setFont(shown);
    painter.setPen(palette().color(QPalette::WindowText));
    const QString elided = QFontMetrics(shown).elidedText(text(), Qt::ElideRight, area.width());
    painter.drawText(area, static_cast<int>(alignment_ | Qt::TextSingleLine), elided);
}

} // namespace ui
