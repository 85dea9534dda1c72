// What is said about the cell under the user.
#include <fmt/format.h>

#include <cmath>

#include "explore/crossing.h"
#include "explore/explorer.h"
#include "map/grid.h"
#include "map/orvobj.h"
#include "text/messages.h"
#include "text/numeric.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {
namespace {

using text::_;

bool is_line_or_area(const map::ORVOBJREC& o) {
  char t = map::objtype_letter(o);
  return t == map::OBJTYPE_LINE || t == map::OBJTYPE_POLYGON;
}

// 1, 0.5, -1: the shortest form, never "-0".
std::string level_text(double h) {
  if (h == 0) h = 0;
  std::string s = fmt::format("{}", h);
  if (s.size() > 2 && s.ends_with(".0")) s.resize(s.size() - 2);
  return s;
}

}  // namespace

std::string GETOBJTYPEDESC(const std::string& objtype) {
  switch (objtype.empty() ? '\0' : objtype[0]) {
    case map::OBJTYPE_INTERSECTION:
      return _("intersection");
    case map::OBJTYPE_ADDRESS:
      return _("address");
    case map::OBJTYPE_POI:
      return _("point");
    case map::OBJTYPE_LINE:
      return _("line");
    case map::OBJTYPE_POLYGON:
      return _("polygon");
    default:
      return _("unknown");
  }
}

std::string Explorer::CUROBJKIERSTR(bool AUTO) {
  int32_t o = grid_.GETMAPA(user_.UPOSX, user_.UPOSY);
  auto c = user_cell();
  if (o == 0 || !c ||
      map::objtype_letter(grid_.ORVOBJECTS[static_cast<size_t>(o)]) != map::OBJTYPE_LINE)
    return {};
  // The first cell of a line may hold -89..-1; it names the same bearing + 360.
  int32_t k = grid_.MAPAKIER(c->first, c->second);
  if (k < 0) k += 360;
  auto sector = static_cast<int32_t>(text::round_half_even(k / 15.0));
  std::string s;
  if (!AUTO || sector != user_.LASTKIER)
    s = " " + text::STRTOKENREPLACE(_("direction {dir}"), {"dir", GETDIRSTR(k)});
  user_.LASTKIER = sector;
  return s;
}

std::string Explorer::CUROBJHLEVSTR(bool AUTO) {
  auto c = user_cell();
  double h = c ? grid_.MAPAHLEV(c->first, c->second) : 0.0;
  std::string s;
  if (!AUTO || h != user_.LASTHLEV)
    s = " " + text::STRTOKENREPLACE(_("height level {hl}"), {"hl", level_text(h)});
  user_.LASTHLEV = h;
  return s;
}

std::string Explorer::position_text() {
  auto c = user_cell();
  std::optional<std::string> bookmark;
  if (c && hooks.bookmark_at) bookmark = hooks.bookmark_at(c->first, c->second);
  std::string s;
  int32_t o = c ? grid_.MAPA(c->first, c->second) : 0;
  if (bookmark) {
    s = text::STRTOKENREPLACE(_("Bookmark {bname}"), {"bname", *bookmark});
  } else if (o != 0) {
    const map::ORVOBJREC& obj = grid_.ORVOBJECTS[static_cast<size_t>(o)];
    s = obj.NAME;
    if (s.empty() || !is_line_or_area(obj)) s = obj.TYP + " " + s;
    s = std::string(text::trim_right(s, " "));
    if (s.empty()) s = GETOBJTYPEDESC(obj.OBJTYPE);
    s += crossing_details(loader_.db(), obj);
    if (is_line_or_area(obj)) s += CUROBJKIERSTR(true);
  }
  s += CUROBJHLEVSTR(true);
  return std::string(text::trim(s, " "));
}

void Explorer::SAYPOS() {
  const std::string s = position_text();
  if (!s.empty()) msg_.EDA(s);
}

void Explorer::SAYTYP() {
  auto c = user_cell();
  int32_t o = c ? grid_.MAPA(c->first, c->second) : 0;
  if (o == 0) {
    msg_.EDA(_("Empty"));
    return;
  }
  const map::ORVOBJREC& obj = grid_.ORVOBJECTS[static_cast<size_t>(o)];
  std::string s = obj.TYP;
  if (!s.empty()) s += " ";
  s += GETOBJTYPEDESC(obj.OBJTYPE) + " ";
  if (!obj.CITY.empty()) s += text::STRTOKENREPLACE(_("City: {c}. "), {"c", obj.CITY});
  if (!obj.REGION.empty()) s += text::STRTOKENREPLACE(_("Region: {r}. "), {"r", obj.REGION});
  if (!obj.COUNTRY.empty()) s += text::STRTOKENREPLACE(_("Country: {c}. "), {"c", obj.COUNTRY});
  msg_.EDA(s);
}

void Explorer::SAYDIRECTION() {
  std::string s = CUROBJKIERSTR(false);
  if (!s.empty()) msg_.EDA(s);
}

void Explorer::SAYHLEVEL() { msg_.EDA(CUROBJHLEVSTR(false)); }

std::string Explorer::GETMAPASTR(double x, double y) const {
  int32_t o = grid_.GETMAPA(x, y);
  if (o == 0) return {};
  const map::ORVOBJREC& obj = grid_.ORVOBJECTS[static_cast<size_t>(o)];
  bool named_line_or_area = is_line_or_area(obj) && !obj.NAME.empty();
  return std::string(text::trim(named_line_or_area ? obj.NAME : obj.TYP + " " + obj.NAME, " "));
}

void Explorer::SHOWLASTSAY() {
  ui_.WGREADMULTILINESTR(_("Last message"), _("Last spoken message"), msg_.LASTSAY(), true);
}

}  // namespace orvela::explore
