#include "views/font_scale.h"

#include <cmath>
#include <limits>

std::int32_t ScaleFontDimension(std::int32_t base, float factor) {
    const float scaled = static_cast<float>(base) * factor + 0.5f;
    // Converting a float that does not fit is undefined; no sane font gets here.
    if (std::isnan(scaled)) return base;
    if (scaled <= static_cast<float>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (scaled >= static_cast<float>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(scaled);
}

float SliderFontFactor(int position, int minimum, int maximum) {
    if (maximum == minimum) return 1.0f;
    // In double, so that extreme ranges cannot overflow the subtractions.
    const double span = static_cast<double>(maximum) - minimum;
    return static_cast<float>(1.0 + 2.0 * (static_cast<double>(position) - minimum) / span);
}
