#pragma once

class TarnelView;

// Told when a lookup panel has closed.
class TarnelViewDelegate {
public:
    virtual ~TarnelViewDelegate() = default;
    virtual void tarnelViewDidDismiss(TarnelView* /*view*/) {}
};
