#include "process/AccountNames.h"

#include "platform/darwin/Darwin.h"

namespace {

template <class Lookup>
QString cachedName(QHash<uint32_t, QString>& cache, uint32_t id, Lookup lookup) {
    const auto found = cache.constFind(id);
    if (found != cache.constEnd()) {
        return *found;
    }
    const std::optional<std::string> name = lookup(id);
    const QString text = name ? QString::fromStdString(*name) : QString("");
    cache.insert(id, text);
    return text;
}

} // namespace

QString AccountNames::userName(uint32_t uid) {
    return cachedName(users, uid, darwin::userName);
}

QString AccountNames::groupName(uint32_t gid) {
    return cachedName(groups, gid, darwin::groupName);
}
