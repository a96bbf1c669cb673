#include "platform/darwin/Utmpx.h"

#include "platform/darwin/ByteOrder.h"

#include <cstring>

namespace darwin {

void encodeUtmpx(const UtmpxEntry& entry, unsigned char* record) {
    std::memset(record, 0, utmpx::kSize);
    writeCString(record, utmpx::kUser, utmpx::kUserSize, entry.user);
    writeCString(record, utmpx::kId, utmpx::kIdSize, entry.id);
    writeCString(record, utmpx::kLine, utmpx::kLineSize, entry.line);
    writeLE<int32_t>(record, utmpx::kPid, entry.pid);
    writeLE<int16_t>(record, utmpx::kType, entry.type);
    writeLE<int32_t>(record, utmpx::kTvSec, entry.tvSec);
    writeLE<int32_t>(record, utmpx::kTvUsec, entry.tvUsec);
    writeCString(record, utmpx::kHost, utmpx::kHostSize, entry.host);
}

UtmpxEntry decodeUtmpx(const unsigned char* record) {
    UtmpxEntry entry;
    entry.user = readCString(record, utmpx::kUser, utmpx::kUserSize);
    entry.id = readCString(record, utmpx::kId, utmpx::kIdSize);
    entry.line = readCString(record, utmpx::kLine, utmpx::kLineSize);
    entry.pid = readLE<int32_t>(record, utmpx::kPid);
    entry.type = readLE<int16_t>(record, utmpx::kType);
    entry.tvSec = readLE<int32_t>(record, utmpx::kTvSec);
    entry.tvUsec = readLE<int32_t>(record, utmpx::kTvUsec);
    entry.host = readCString(record, utmpx::kHost, utmpx::kHostSize);
    return entry;
}

UtmpxEntry utmpxSignatureEntry() {
    UtmpxEntry signature;
    signature.user = utmpx::kSignatureUser;
    signature.type = utmpx::SIGNATURE;
    return signature;
}

std::vector<unsigned char> encodeUtmpxFile(const std::vector<UtmpxEntry>& entries) {
    std::vector<unsigned char> file((entries.size() + 1) * utmpx::kSize);
    encodeUtmpx(utmpxSignatureEntry(), file.data());
    for (size_t i = 0; i < entries.size(); ++i) {
        encodeUtmpx(entries[i], file.data() + (i + 1) * utmpx::kSize);
    }
    return file;
}

} // namespace darwin
