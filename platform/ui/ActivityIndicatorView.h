#pragma once

#include <QWidget>

class QTimer;

namespace ui {

enum class ActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

// The spinning wheel of spokes that says "working".
class ActivityIndicatorView : public QWidget {
public:
    explicit ActivityIndicatorView(
        ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White,
        QWidget* parent = nullptr);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const;
    void setHidesWhenStopped(bool hides);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ActivityIndicatorViewStyle style_;
    QTimer* timer_;
    int step_ = 0;
    bool hidesWhenStopped_ = true;
};

} // namespace ui
