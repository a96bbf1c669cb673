#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

namespace ui {

enum class SegmentedControlStyle { Plain = 0, Bordered = 1, Bar = 2 };

// A row of joined buttons, one of them selected. A momentary control selects only
// while touched.
class SegmentedControl : public QWidget {
public:
    static constexpr int NoSegment = -1;

    explicit SegmentedControl(const QStringList& items, QWidget* parent = nullptr);

    QStringList items() const { return items_; }
    int numberOfSegments() const { return static_cast<int>(items_.size()); }
    QString titleForSegmentAtIndex(int index) const { return items_.value(index); }
    void setTitleForSegmentAtIndex(const QString& title, int index);
    int selectedSegmentIndex() const { return selected_; }
    // Does not run the value-changed action (only the user's touches do).
    void setSelectedSegmentIndex(int index);
    void setSegmentedControlStyle(SegmentedControlStyle style);
    SegmentedControlStyle segmentedControlStyle() const { return style_; }
    // A disabled segment shows greyed and ignores touches.
    void setEnabledForSegmentAtIndex(bool enabled, int index);
    bool isEnabledForSegmentAtIndex(int index) const { return !disabled_.contains(index); }
    void setMomentary(bool momentary) { momentary_ = momentary; }
    bool isMomentary() const { return momentary_; }
    void setValueChangedAction(std::function<void()> action) { action_ = std::move(action); }
    // Acts as a touch on the segment at `index`.
    void tapSegmentAtIndex(int index);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF segmentRect(int index) const;
    int segmentAt(QPointF position) const;

    QStringList items_;
    int selected_ = NoSegment;
    int pressed_ = NoSegment;
    QList<int> disabled_;
    SegmentedControlStyle style_ = SegmentedControlStyle::Plain;
    bool momentary_ = false;
    std::function<void()> action_;
};

} // namespace ui
