#pragma once

#include "registry/RegistryTexts.h"
#include "registry/tarnel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

// The process-wide address registry: opens the registry file with the lookup engine
// (a downloaded copy in the documents directory before the shipped one) and turns an
// address into six display texts, index for index with TLDLabel: country code,
// country name, registry name, registry region, network, assignment date. Searches
// run on any thread; open, close and updated belong to the main thread.
//
// A downloaded copy the engine refuses (a link, no regular file, cut short, ranges out
// of order, unreadable, still being written) is named with the reason in one warning
// of the registry logging category at each open, and the shipped copy opened instead.
class TarnelDB {
public:
    static constexpr const char* fileName = "ccTLD.dat";

    static TarnelDB* sharedInstance();

    TarnelDB(const TarnelDB&) = delete;
    TarnelDB& operator=(const TarnelDB&) = delete;

    void open();
    void close();
    // Reopens the file after it has been replaced (or removed from the documents
    // directory, which brings back the shipped copy). The engine reads the file whole
    // at open, so a new copy may be renamed into place or written over the old one
    // (cp, curl -o); a copy still being written when this runs is refused.
    void updated();

    // The six texts of an address, or an empty list for text that is not a dotted
    // quad, an address in no range, or a special-purpose block.
    QStringList search(const QString& address) const;

    bool ready() const { return ready_.load(); }
    const RegistryTexts& texts() const { return texts_; }
    const QStringList& TLDLabel() const { return tldLabel_; }
    // The registry records of the file open now (name, range count, data date), those
    // that can be read; empty while not ready.
    std::vector<tl_registry_info> registryRecords() const;
    // The path of the file open now; empty while not ready. Main thread only.
    QString openPath() const;

    // The image that shows a country code as a flag: "flags/jp.png" for JP.
    static QString flagImageName(const QString& code);

private:
    TarnelDB();
    // Opens the file at path, or warns why the engine refused it (not when it does not
    // exist), ending the warning with `instead`.
    bool openFile(const QByteArray& path, const QString& instead);

    QStringList tldLabel_;
    RegistryTexts texts_;
    std::atomic<bool> ready_{false};
    QString openPath_;
};
