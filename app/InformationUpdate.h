#pragma once

#include "update/DownloadSheetDelegate.h"
#include "update/UpdateDBDelegate.h"

#include <QPointer>

class InformationViewController;

// The registry update as the Information screen starts it: offered only while the
// network is reachable and the data in use is more than a day old, confirmed by the
// user, run by the download sheet, and shown in the screen's records once installed.
class InformationUpdate : public UpdateDBDelegate, public DownloadSheetDelegate {
public:
    // The starter InformationViewController calls on a triple tap of its map.
    static void start(InformationViewController* screen);

    void updateDatabase() override;
    void downloadDidSucceed() override;

private:
    static InformationUpdate& instance();

    QPointer<InformationViewController> screen_;
};
