// The bookmark list and the questions asked of it.
#include "bookmarks/bookmarks.h"

#include <algorithm>
#include <cmath>

#include "map/grid.h"
#include "map/loader.h"
#include "map/user.h"
#include "text/distance.h"
#include "text/messages.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::bookmarks {
namespace {

using text::_;

constexpr int kCells = map::MAXXY + 1;

// The cell of a grid position: both parts truncated toward zero; nothing
// for positions no cell of the grid can hold.
std::optional<std::pair<int64_t, int64_t>> cell_of(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e15 || std::fabs(y) > 1e15)
    return std::nullopt;
  return std::pair{static_cast<int64_t>(std::trunc(x)), static_cast<int64_t>(std::trunc(y))};
}

bool on_grid(const std::pair<int64_t, int64_t>& c) {
  return c.first >= 1 && c.first <= map::MAXXY && c.second >= 1 && c.second <= map::MAXXY;
}

}  // namespace

Bookmarks::Bookmarks(map::UserState& user, const map::Grid& grid, const map::MapLoader& loader,
                     ui::Ui& ui, text::Messages& msg, const text::StringConsts& consts,
                     const BookmarkSettings& settings, std::filesystem::path start_pos_file)
    : user_(user),
      grid_(grid),
      loader_(loader),
      ui_(ui),
      msg_(msg),
      consts_(consts),
      settings_(settings),
      start_pos_file_(std::move(start_pos_file)) {}

void Bookmarks::clear() {
  list_.clear();
  list_changed();
  modified_ = false;
  forget_files();
}

void Bookmarks::forget_files() {
  lastfn_.clear();
  lastsavedfn_.clear();
}

bool Bookmarks::no_map() { return hooks.CHECKNOMAP ? hooks.CHECKNOMAP() : loader_.FN().empty(); }

bool Bookmarks::CHECKNOBOOKMARKS(int32_t mincount) {
  if (static_cast<int64_t>(list_.size()) >= mincount) return false;
  msg_.EDA(
      text::STRTOKENREPLACE(_("At least {mincount} bookmarks required to perform this operation"),
                            {"mincount", std::to_string(mincount)}));
  return true;
}

int32_t Bookmarks::GETBOOKMARKATXY(double BX, double BY) const {
  if (list_.empty() || !user_.ULATLONSET) return -1;
  const auto cell = cell_of(BX, BY);
  if (!cell) return -1;
  if (cells_dirty_) {
    cell_first_.assign(kCells * kCells, -1);
    for (std::size_t i = list_.size(); i-- > 0;) {
      const auto c = cell_of(list_[i].X, list_[i].Y);
      if (c && on_grid(*c)) cell_first_[c->first * kCells + c->second] = static_cast<int32_t>(i);
    }
    cells_dirty_ = false;
  }
  if (on_grid(*cell)) return cell_first_[cell->first * kCells + cell->second];
  // Beyond the grid's cells (the soundscape near the edge) the list is asked itself.
  for (std::size_t i = 0; i < list_.size(); ++i)
    if (cell_of(list_[i].X, list_[i].Y) == cell) return static_cast<int32_t>(i);
  return -1;
}

void Bookmarks::BOOKMARKSRECALCUPOS() {
  if (!user_.ULATLONSET || !user_.BOOKMARKSUPOSCHANGED || list_.empty()) return;
  set_user_distances(list_, user_.ULAT, user_.ULON);
  user_.BOOKMARKSUPOSCHANGED = false;
}

int32_t Bookmarks::GETNEARESTBOOKMARK() {
  if (list_.empty()) return -1;
  BOOKMARKSRECALCUPOS();
  const auto nearest =
      std::min_element(list_.begin(), list_.end(),
                       [](const LOCATION& a, const LOCATION& b) { return a.UDIST < b.UDIST; });
  return static_cast<int32_t>(nearest - list_.begin());
}

std::string Bookmarks::list_line(const LOCATION& l) const {
  if (!user_.ULATLONSET) return l.NAME;
  const std::string dir = hooks.GETDIRSTR ? hooks.GETDIRSTR(l.UAZIM) : std::string();
  // Some direction words end in a blank; a list line does not.
  return std::string(
      text::trim_right(l.NAME + " " + text::DISTANCETOSTR(l.UDIST) + " " + dir, " "));
}

bool Bookmarks::SELECTBOOKMARK(int32_t& BOOKMARKNUM, bool ADDATEND, const std::string& title,
                               const std::string& prompt) {
  if (list_.empty()) return false;
  BOOKMARKSRECALCUPOS();
  std::vector<std::string> lines;
  lines.reserve(list_.size() + 1);
  for (const LOCATION& l : list_) lines.push_back(list_line(l));
  if (ADDATEND) lines.push_back(_("End of list"));
  const auto chosen =
      ui_.WGREADLIST(title, prompt, lines, static_cast<std::size_t>(std::max(BOOKMARKNUM, 0)));
  if (!chosen) return false;
  BOOKMARKNUM = static_cast<int32_t>(*chosen);
  return true;
}

std::optional<LOCATION> Bookmarks::SELECTLOC(ARRLOC& AL, bool SORTDIST, const std::string& title,
                                             const std::string& prompt) {
  if (AL.empty()) return std::nullopt;
  if (user_.ULATLONSET) set_user_distances(AL, user_.ULAT, user_.ULON);
  if (SORTDIST) SORTARRLOC(AL);
  std::vector<std::string> lines;
  lines.reserve(AL.size());
  for (const LOCATION& l : AL) lines.push_back(list_line(l));
  const auto chosen = ui_.WGREADLIST(title, prompt, lines, 0);
  if (!chosen) return std::nullopt;
  return AL[*chosen];
}

void Bookmarks::RECALCARRLOC() {
  bookmarks::RECALCARRLOC(list_, grid_, !loader_.FN().empty());
  list_changed();
}

}  // namespace orvela::bookmarks
