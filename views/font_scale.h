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

// A font height or width taken at `fromDpi`, as it is at `toDpi`. A negative height is
// a character height, which a dialog's font takes from its whole point size: the point
// size is found again and measured at the new dpi as the dialog manager measures it,
// so the panes keep step with the dialog's own font (-11 at 96 dpi is 8 points: -16 at
// 144, -21 at 192). Other values scale in proportion, to the nearest.
std::int32_t FontDimensionAtDpi(std::int32_t dimension, int fromDpi, int toDpi);
