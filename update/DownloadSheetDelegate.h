#pragma once

// Hears how the download sheet's update ended.
class DownloadSheetDelegate {
public:
    virtual ~DownloadSheetDelegate() = default;
    virtual void downloadDidSucceed() {}
    virtual void downloadDidFail() {}
};
