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

namespace {

// a * b / c to the nearest, halves away from zero (as MulDiv), for positive b and c.
std::int64_t MulDivRounded(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t product = a * b;
    return product >= 0 ? (product + c / 2) / c : -((-product + c / 2) / c);
}

std::int32_t Clamped(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t FontDimensionAtDpi(std::int32_t dimension, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return dimension;
    if (dimension < 0) {
        const std::int64_t points =
            MulDivRounded(-static_cast<std::int64_t>(dimension), 72, fromDpi);
        return Clamped(-MulDivRounded(points, toDpi, 72));
    }
    return Clamped(MulDivRounded(dimension, toDpi, fromDpi));
}
