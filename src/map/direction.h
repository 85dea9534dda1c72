#pragma once
// Directions in the grid: whole degrees clockwise from north (+Y), east = +X.
#include <cstdint>

namespace orvela::map {

// DIR modulo 360, in 0..359 (negative values wrap upward). Wide, so that a
// difference of two directions can be wrapped without overflow.
int32_t WRAPDIRECTION(int64_t DIR);
// Direction from the first position to the second.
int32_t GETKIER(double X1, double Y1, double X2, double Y2);
// One bearing for the undirected line through both positions: -89..179.
int32_t GETLINEKIER(double X1, double Y1, double X2, double Y2);
// The unit step in direction KIER, each part rounded to two decimals.
void GETINCXYFROMKIER(int32_t KIER, double& INCX, double& INCY);

}  // namespace orvela::map
