#include "process/AccountNames.h"

#include "common/NameText.h"
#include "platform/darwin/Darwin.h"

namespace {

template <class Lookup>
QString cachedName(QHash<uint32_t, QString>& cache, uint32_t id, Lookup lookup) {
    const auto found = cache.constFind(id);
    if (found != cache.constEnd()) {
        return *found;
    }
    const std::optional<std::string> name = lookup(id);
    const QString text = NameText::fromBytes(name.value_or(std::string()));
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
