#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace ioreg {

// The modem's IMEI, fetched without blocking: the first read starts a fetch and has no
// value yet; when the fetch answers, its IMEI is kept and later reads give it. A fetch
// that finds none lets a later read try again (a modem may appear).
class ModemIdentity {
public:
    using Answer = std::function<void(std::optional<QString> imei)>;
    // Starts a fetch that calls the answer once, now or later, on the calling thread.
    using Fetch = std::function<void(Answer answer)>;

    explicit ModemIdentity(Fetch fetch);

    std::optional<QString> imei();

private:
    struct State {
        std::optional<QString> imei;
        bool fetching = false;
    };

    Fetch fetch_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace ioreg
