// Where the minimised window draws its icon: centred in the client area.
#pragma once

struct IconPosition
{
    int x;
    int y;
};

// Each division truncates towards zero, so a client smaller than the icon gives a negative offset.
inline IconPosition CentreIcon(int nClientWidth, int nClientHeight, int nIconWidth, int nIconHeight)
{
    return {(nClientWidth - nIconWidth + 1) / 2, (nClientHeight - nIconHeight + 1) / 2};
}
