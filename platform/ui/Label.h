#pragma once

#include "platform/ui/Color.h"

#include <QLabel>

namespace ui {

// A line (or lines) of text in the system font: transparent by default, black text,
// a second colour for highlighted rows, tail truncation when it is one line.
class Label : public QLabel {
    Q_OBJECT

public:
    explicit Label(QWidget* parent = nullptr);
    explicit Label(const QString& text, QWidget* parent = nullptr);

    void setTextColor(Color color);
    Color textColor() const { return textColor_; }
    void setHighlightedTextColor(Color color);
    Color highlightedTextColor() const { return highlightedTextColor_; }
    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return highlighted_; }

    void setTextAlignment(Qt::Alignment alignment);
    Qt::Alignment textAlignment() const { return alignment_; }
    // 1 = one line, truncated at the tail; 0 = as many lines as the text needs.
    void setNumberOfLines(int lines);
    int numberOfLines() const { return numberOfLines_; }

    // One-line labels only: shrink the font, down to `minimumFontSize` points, until
    // the text fits, before truncating it.
    void setAdjustsFontSizeToFitWidth(bool adjusts) { adjustsFontSizeToFitWidth_ = adjusts; }
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSizeToFitWidth_; }
    void setMinimumFontSize(double points) { minimumFontSize_ = points; }
    double minimumFontSize() const { return minimumFontSize_; }
    // The font one line of text is drawn in at the label's present width.
    QFont shownFont() const;

    // A field of its table row: while it shows, the row's text keeps it, empty or not,
    // so that every row of a kind has the same columns (TableViewTextRenderer). A label
    // that is no field counts only when it has text.
    void setRowField(bool field) { rowField_ = field; }
    bool isRowField() const { return rowField_; }

    void setBackgroundColor(Color color);
    Color backgroundColor() const { return backgroundColor_; }
    void setOpaque(bool opaque);
    void setFont(const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void applyColors();

    Color textColor_ = Color::black();
    Color highlightedTextColor_ = Color::white();
    Color backgroundColor_ = Color::clear();
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    int numberOfLines_ = 1;
    bool highlighted_ = false;
    bool opaque_ = false;
    bool adjustsFontSizeToFitWidth_ = false;
    bool rowField_ = false;
    double minimumFontSize_ = 0;
};

} // namespace ui
