#pragma once
// The two face images of a shaded button (normal and hover), as 8-bit
// palette images: a ramp from the shadow through the face to the highlight
// colour, pixels shaded by kind with noise from the given generator
// (0..32767, the runtime's rand in the program).
#include <functional>

#include "toolkit/buttons/CeXDib.h"

struct ShadeColours {
    DWORD shadow;  // COLORREF values
    DWORD face;
    DWORD highlight;
};

// Kind 7: a vertical bump with bevelled ends (no bevel on a face narrower
// than 6 or lower than 2 pixels); kind 6: a diagonal; other kinds: flat.
// False when the images cannot be made.
bool MakeShadeFaces(CCeXDib& normal, CCeXDib& hover, int width, int height, int kind, BYTE granularity, BYTE highlight,
                    BYTE coloring, DWORD colour, const ShadeColours& colours, const std::function<int()>& random);
