#pragma once

#include <QRect>

namespace dbcopy {

// Pixels for a length in twips at 96 dots per inch (15 twips make one pixel); Qt scales the
// pixels on high-density screens.
constexpr int pixelsFromTwips(int twips) {
    return (twips + 7) / 15;
}

// A control's rectangle given as Left, Top, Width, Height in twips.
constexpr QRect rectFromTwips(int left, int top, int width, int height) {
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
            pixelsFromTwips(height)};
}

}  // namespace dbcopy
