#include "rules/test_sale_price.h"

#include <algorithm>
#include <cmath>

#include "rules/trigger_evaluation.h"

float testSalePrice(float currentPrice) {
    const float raised = static_cast<float>(currentPrice * 1.05f);
    if (!std::isfinite(raised) || raised <= 0.0f) return 0.0f;
    // The unit is 0.01 yuan, or the finer unit the current price shows.
    const int decimals = std::min(std::max(decimalPlaces(currentPrice), 2), 6);
    const double scale = std::pow(10.0, decimals);
    return static_cast<float>(std::round(static_cast<double>(raised) * scale) / scale);
}
