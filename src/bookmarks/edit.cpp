// The commands that change the bookmark list or move the user to a bookmark.
#include <algorithm>
#include <cmath>
#include <limits>

#include "bookmarks/bookmarks.h"
#include "map/geo.h"
#include "map/user.h"
#include "text/distance.h"
#include "text/string_consts.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "text/utf8.h"
#include "ui/ui.h"

namespace orvela::bookmarks {
namespace {

using text::_;

// The longest name a bookmark file keeps (Loadstone's limit).
constexpr std::size_t kMaxName = 255;

// '12. Park' -> 12, 'Park' -> 0.
int64_t name_number(const LOCATION& l) { return text::INT2(l.NAME); }

// The name with its leading number replaced by `num`: '7. Park' -> '1. Park',
// 'Park' -> '1. Park', '12.Park' -> '1.Park', '12' -> '1. '.
std::string renumbered(std::string_view name, int64_t num) {
  std::string_view rest = text::cut_at_char(name, kMaxName);
  rest.remove_prefix(std::min(rest.find_first_not_of("0123456789"), rest.size()));
  std::string out = std::to_string(num);
  if (rest.empty() || rest.front() != '.') out += ". ";
  return out.append(rest);
}

}  // namespace

void Bookmarks::remove(std::size_t i) {
  list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(i));
  list_changed();
  if (list_.empty()) {
    // An empty list belongs to no file: the next save asks for a name.
    modified_ = false;
    forget_files();
  } else {
    modified_ = true;
  }
}

void Bookmarks::BOOKMARKEDIT(bool AUTO) {
  if (no_map()) return;
  const int32_t id = GETBOOKMARKATXY(user_.UPOSX, user_.UPOSY);
  if (id > -1 && AUTO) {
    BOOKMARKDEL(true);
    return;
  }
  std::string title, proposal;
  if (id > -1) {
    title = _("Edit bookmark");
    proposal = list_[static_cast<std::size_t>(id)].NAME;
  } else {
    title = _("Enter bookmark");
    std::string place = hooks.GETMAPASTR ? hooks.GETMAPASTR(user_.UPOSX, user_.UPOSY) : "";
    if (place.empty()) place = consts_.DEFBOOKMARKNAME;
    proposal = std::to_string(list_.size() + 1) + ". " + place;
  }
  std::string entered = proposal;
  if (!AUTO) {
    auto answer = ui_.WGREADSTR(title, _("Bookmark name"), proposal);
    if (!answer) return;
    entered = *answer;
  }
  std::string name(text::trim(entered, " "));
  if (name.empty()) {
    ui_.WGINFO(_("No bookmark name entered"));
    return;
  }
  if (id > -1) {
    list_[static_cast<std::size_t>(id)].NAME = std::move(name);
  } else {
    LOCATION l;
    l.NAME = std::move(name);
    l.LAT = user_.ULAT;
    l.LON = user_.ULON;
    l.X = std::trunc(user_.UPOSX);
    l.Y = std::trunc(user_.UPOSY);
    ADDLOC(list_, l);
    list_changed();
    user_.BOOKMARKSUPOSCHANGED = true;
  }
  modified_ = true;
}

void Bookmarks::BOOKMARKDEL(bool AUTO) {
  if (no_map()) return;
  const int32_t id = GETBOOKMARKATXY(user_.UPOSX, user_.UPOSY);
  if (id == -1) {
    ui_.WGINFO(_("No bookmark here."));
    return;
  }
  const auto i = static_cast<std::size_t>(id);
  if (!AUTO &&
      !ui_.WGTN(text::STRTOKENREPLACE(_("Delete bookmark {bname}?"), {"bname", list_[i].NAME})))
    return;
  remove(i);
}

void Bookmarks::BOOKMARKDELALL() {
  if (CHECKNOBOOKMARKS(1)) return;
  if (!ui_.WGNT(text::STRTOKENREPLACE(_("Delete all bookmarks {count}?"),
                                      {"count", std::to_string(list_.size())})))
    return;
  clear();
}

void Bookmarks::BOOKMARKGOTO() {
  if (no_map() || CHECKNOBOOKMARKS(1)) return;
  int32_t n = GETNEARESTBOOKMARK();
  if (!SELECTBOOKMARK(n, false, _("Go to bookmark"), _("Select bookmark"))) return;
  const LOCATION& l = list_[static_cast<std::size_t>(n)];
  if (hooks.GOTOLATLON) hooks.GOTOLATLON(l.LAT, l.LON, false, {});
}

void Bookmarks::BOOKMARKMOVE() {
  if (CHECKNOBOOKMARKS(2)) return;
  const std::string title = _("Move bookmark");
  int32_t n = std::max(GETNEARESTBOOKMARK(), 0);
  while (true) {
    if (!SELECTBOOKMARK(n, false, title, _("Select bookmark to move"))) return;
    const int32_t src = n;
    if (!SELECTBOOKMARK(n, true, title, _("Select destination place on list"))) return;
    const int32_t dest = n;
    // The bookmark lands just before the chosen entry, or last for "End of list".
    auto at = [this](int32_t i) { return list_.begin() + i; };
    if (src + 1 < dest) {
      std::rotate(at(src), at(src + 1), at(dest));
      n = dest - 1;
    } else if (dest < src) {
      std::rotate(at(dest), at(src), at(src + 1));
      n = dest;
    } else {
      n = std::min(dest, static_cast<int32_t>(list_.size()) - 1);
      continue;
    }
    list_changed();
    modified_ = true;
  }
}

void Bookmarks::BOOKMARKSORTNUM() {
  if (CHECKNOBOOKMARKS(2)) return;
  if (!ui_.WGTN(_("Sort bookmarks by numbers at the beginning of names"))) return;
  auto by_number = [](const LOCATION& a, const LOCATION& b) {
    return name_number(a) < name_number(b);
  };
  if (std::is_sorted(list_.begin(), list_.end(), by_number)) return;
  std::stable_sort(list_.begin(), list_.end(), by_number);
  list_changed();
  modified_ = true;
}

void Bookmarks::BOOKMARKRENUMBER() {
  if (CHECKNOBOOKMARKS(1)) return;
  const auto answer =
      ui_.WGREADSTR(_("Renumber bookmarks"), _("Target number of first bookmark"), "1");
  if (!answer) return;
  int64_t num = text::INT2(*answer);
  if (num < 1) {
    ui_.WGINFO(_("Positive integer expected."));
    return;
  }
  for (LOCATION& l : list_) {
    std::string name = renumbered(l.NAME, num++);
    if (name != l.NAME) modified_ = true;
    l.NAME = std::move(name);
  }
}

void Bookmarks::BOOKMARKDISTANCESUM() {
  if (CHECKNOBOOKMARKS(2)) return;
  int64_t sum = 0;
  for (std::size_t i = 0; i + 1 < list_.size(); ++i)
    sum += map::GEODIST(list_[i].LAT, list_[i].LON, list_[i + 1].LAT, list_[i + 1].LON);
  const auto dist =
      static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
  ui_.WGINFO(text::STRTOKENREPLACE(_("Bookmarks distance sum: {dist}."),
                                   {"dist", text::DISTANCETOSTR(dist)}));
}

}  // namespace orvela::bookmarks
