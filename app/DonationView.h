#pragma once

#include "platform/ui/Button.h"

#include <QUrl>
#include <QWidget>

// The Information screen's footer when a donation page is configured: one button that
// opens the page in the browser.
class DonationView : public QWidget {
public:
    static constexpr double kWidth = 300;
    static constexpr double kHeight = 80;
    static constexpr double kButtonHeight = 44;

    explicit DonationView(const QUrl& page, QWidget* parent = nullptr);

    ui::Button* button() const { return button_; }
    const QUrl& page() const { return page_; }

private:
    QUrl page_;
    ui::Button* button_;
};
