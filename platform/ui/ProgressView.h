#pragma once

#include <QWidget>

namespace ui {

enum class ProgressViewStyle { Default = 0, Bar = 1 };

// A bar that fills from left to right with the progress (0 to 1).
class ProgressView : public QWidget {
public:
    explicit ProgressView(ProgressViewStyle style = ProgressViewStyle::Default,
                          QWidget* parent = nullptr);

    float progress() const { return progress_; }
    void setProgress(float progress);
    ProgressViewStyle progressViewStyle() const { return style_; }
    void setProgressViewStyle(ProgressViewStyle style);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProgressViewStyle style_;
    float progress_ = 0;
};

} // namespace ui
