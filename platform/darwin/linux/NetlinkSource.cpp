#include "platform/darwin/linux/NetlinkSource.h"

namespace darwin {

NetlinkSource::~NetlinkSource() = default;

} // namespace darwin
