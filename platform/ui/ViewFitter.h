#pragma once

#include <QObject>

class QWidget;

namespace ui {

// Keeps a child widget covering its parent: the views of windows, modal screens and
// alert overlays follow every resize of what they cover.
class ViewFitter : public QObject {
    Q_OBJECT

public:
    // Makes `child` a child of `parent` that fills it from now on.
    static void fill(QWidget* child, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ViewFitter(QWidget* child);
    QWidget* child_;
};

} // namespace ui
