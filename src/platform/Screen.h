#pragma once

#include "platform/Service.h"

namespace platform {

// Window geometry is kept in twips: 15 twips to a pixel.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return static_cast<int>(twips / kTwipsPerPixel);
}
inline int pixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

// The size of the screen the windows are laid out for.
class Screen {
public:
    virtual ~Screen() = default;
    virtual int widthTwips() const = 0;
    virtual int heightTwips() const = 0;
};

ServiceSlot<Screen>& screenSlot();
inline Screen& screen() { return screenSlot().get(); }

} // namespace platform
