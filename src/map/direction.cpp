#include "map/direction.h"

#include <cmath>
#include <numbers>

#include "text/numeric.h"

namespace orvela::map {

namespace {
constexpr double DEG_PER_RAD = 180.0 / std::numbers::pi;
}

int32_t WRAPDIRECTION(int64_t DIR) {
  auto d = static_cast<int32_t>(DIR % 360);
  return d < 0 ? d + 360 : d;
}

int32_t GETKIER(double X1, double Y1, double X2, double Y2) {
  if (X1 == X2) return Y2 >= Y1 ? 0 : 180;
  if (Y1 == Y2) return X2 >= X1 ? 90 : 270;
  int32_t k = text::round_half_even_i32(std::atan((X2 - X1) / (Y2 - Y1)) * DEG_PER_RAD);
  if (X2 < X1 && Y2 < Y1)
    k -= 180;
  else if (X2 > X1 && Y2 < Y1)
    k += 180;
  return WRAPDIRECTION(k);
}

int32_t GETLINEKIER(double X1, double Y1, double X2, double Y2) {
  int32_t r = GETKIER(X1, Y1, X2, Y2);
  if (r < -90)
    r += 180;
  else if (r > 90)
    r -= 180;
  return r;
}

void GETINCXYFROMKIER(int32_t KIER, double& INCX, double& INCY) {
  const double rad = KIER / DEG_PER_RAD;
  INCX = text::round_away(std::sin(rad), 2);
  INCY = text::round_away(std::cos(rad), 2);
}

}  // namespace orvela::map
