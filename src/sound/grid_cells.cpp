#include "sound/grid_cells.h"

namespace orvela::sound {

SoundCell GridCells::GETMAPARELATIVE(int32_t relx, int32_t rely) const {
  SoundCell c;
  c.object = grid_.GETMAPARELATIVE(user_.UPOSX, user_.UPOSY, relx, rely);
  if (bookmark_at_) c.bookmark = bookmark_at_(user_.UPOSX + relx, user_.UPOSY + rely);
  // An index the object list does not hold (a grid being rebuilt) is no object.
  if (c.object > grid_.ILOBJ) c.object = 0;
  return c;
}

const map::ORVOBJREC& GridCells::object(int32_t i) const {
  return grid_.ORVOBJECTS.at(static_cast<std::size_t>(i));
}

}  // namespace orvela::sound
