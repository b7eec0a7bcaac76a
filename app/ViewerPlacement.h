// Where the help viewer opens: beside the main window where the screen has room, over it otherwise.
#pragma once

#include <algorithm>

struct ScreenRect
{
    int x;
    int y;
    int nWidth;
    int nHeight;
};

// The viewer's frame inside the work area: right of the owner if it fits there, else left of it,
// else centred over it. A viewer larger than the work area is cut down to it.
inline ScreenRect PlaceBeside(const ScreenRect& owner, int nWidth, int nHeight, const ScreenRect& area)
{
    nWidth = std::max(1, std::min(nWidth, area.nWidth));
    nHeight = std::max(1, std::min(nHeight, area.nHeight));
    const int nMaxX = area.x + area.nWidth - nWidth;
    const int nMaxY = area.y + area.nHeight - nHeight;
    const int nTop = std::clamp(owner.y, area.y, nMaxY);
    if (owner.x + owner.nWidth + nWidth <= area.x + area.nWidth)
        return {std::max(owner.x + owner.nWidth, area.x), nTop, nWidth, nHeight};
    if (owner.x - nWidth >= area.x)
        return {std::min(owner.x - nWidth, nMaxX), nTop, nWidth, nHeight};
    return {std::clamp(owner.x + (owner.nWidth - nWidth) / 2, area.x, nMaxX),
            std::clamp(owner.y + (owner.nHeight - nHeight) / 2, area.y, nMaxY), nWidth, nHeight};
}
