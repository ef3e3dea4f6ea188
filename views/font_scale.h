#pragma once

#include <cstdint>

// A font height or width scaled by factor: base * factor + 0.5 in float, then
// truncated toward zero. Dialog font heights are negative, so the half moves
// them toward zero (-11 gives -10 at 1.0 and -21 at 2.0); a width of 0 stays 0.
// Results beyond the 32-bit range are clamped to it.
std::int32_t ScaleFontDimension(std::int32_t base, float factor);

// The font factor for a slider position: 1.0 at the minimum, 3.0 at the
// maximum, linear between. A slider whose range is a single point gives 1.0.
float SliderFontFactor(int position, int minimum, int maximum);
