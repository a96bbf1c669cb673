#include "platform/darwin/Utmpx.h"

namespace darwin {

UtmpxEntry utmpxSignatureEntry() {
    UtmpxEntry signature;
    signature.user = utmpx::kSignatureUser;
    signature.type = utmpx::SIGNATURE;
    return signature;
}

std::vector<unsigned char> encodeUtmpxFile(const std::vector<UtmpxEntry>& entries) {
    std::vector<UtmpxEntry> records{utmpxSignatureEntry()};
    records.insert(records.end(), entries.begin(), entries.end());
    return utmpx::Layout::encodeTable(records);
}

} // namespace darwin
