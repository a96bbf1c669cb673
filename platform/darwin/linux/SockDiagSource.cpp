#include "platform/darwin/linux/SockDiagSource.h"

namespace darwin {

SockDiagSource::~SockDiagSource() = default;

} // namespace darwin
