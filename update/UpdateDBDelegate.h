#pragma once

// Hears that the user agreed to download a new registry file.
class UpdateDBDelegate {
public:
    virtual ~UpdateDBDelegate() = default;
    virtual void updateDatabase() {}
};
