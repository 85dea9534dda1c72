#pragma once
// The map grid and the bookmarks seen as the soundscape needs them.
#include <cstdint>
#include <functional>

#include "map/grid.h"
#include "map/user.h"
#include "sound/cells.h"

namespace orvela::sound {

// Which bookmark stands on the cell at grid position (x, y); -1 for none.
using BookmarkAt = std::function<int32_t(double x, double y)>;

class GridCells final : public SoundscapeCells {
 public:
  // `bookmark_at` may be empty: then no cell holds a bookmark.
  GridCells(const map::Grid& grid, const map::UserState& user, BookmarkAt bookmark_at = {})
      : grid_(grid), user_(user), bookmark_at_(std::move(bookmark_at)) {}

  SoundCell GETMAPARELATIVE(int32_t relx, int32_t rely) const override;
  const map::ORVOBJREC& object(int32_t i) const override;

 private:
  const map::Grid& grid_;
  const map::UserState& user_;
  BookmarkAt bookmark_at_;
};

}  // namespace orvela::sound
