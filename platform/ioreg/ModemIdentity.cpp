#include "platform/ioreg/ModemIdentity.h"

namespace ioreg {

ModemIdentity::ModemIdentity(Fetch fetch) : fetch_(std::move(fetch)) {}

std::optional<QString> ModemIdentity::imei() {
    if (!state_->imei && !state_->fetching && fetch_) {
        state_->fetching = true;
        // The answer may come after this object is gone.
        fetch_([weak = std::weak_ptr<State>(state_)](std::optional<QString> imei) {
            if (const auto state = weak.lock()) {
                state->fetching = false;
                if (imei && !imei->isEmpty()) {
                    state->imei = std::move(imei);
                }
            }
        });
    }
    return state_->imei;
}

} // namespace ioreg
