// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window's clock, without the window: a 500 ms tick blinks the red warning line
// (shown on three ticks out of four); after 30 ticks, or at a tap or key press, the window
// hides and counts as finished, and the application timer then destroys it.
#pragma once

namespace plovane {

// Thread-compatible: driven by the splash window's timer on the user-interface thread.
class SplashState {
  public:
    static constexpr int kTickMs = 500;
    static constexpr int kLastTick = 30;

    // One timer tick; returns true when the window must hide now.
    bool Tick() {
        if (finished_)
            return false;
        ++ticks_;
        if (ticks_ > kLastTick) {
            finished_ = true;
            return true;
        }
        return false;
    }
    // A tap or key press: hide at once.
    void Dismiss() { finished_ = true; }

    bool warningVisible() const { return ticks_ % 4 != 3; }
    bool finished() const { return finished_; }
    int ticks() const { return ticks_; }

  private:
    int ticks_ = 0;
    bool finished_ = false;
};

}  // namespace plovane
