#include "platform/ioreg/Backend.h"

namespace ioreg {

Backend::~Backend() = default;

} // namespace ioreg
