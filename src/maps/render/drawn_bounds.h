// SPDX-License-Identifier: GPL-3.0-or-later
// A paint device that draws nothing and notes the box of everything painted on it, pens
// included: where a station's drawing went, found without recording the drawing (a QPicture
// copies each icon and sums its bytes, too slow for a thousand stations a frame).
#pragma once

#include <QPaintDevice>
#include <QRect>
#include <memory>

namespace plovane {

class DrawnBoundsEngine;

// Thread-compatible.
class DrawnBounds final : public QPaintDevice {
  public:
    DrawnBounds();
    ~DrawnBounds() override;

    // What was painted since the device was made, in device pixels; empty for nothing.
    QRect bounds() const;

    QPaintEngine* paintEngine() const override;

  protected:
    int metric(PaintDeviceMetric metric) const override;

  private:
    std::unique_ptr<DrawnBoundsEngine> engine_;
};

}  // namespace plovane
