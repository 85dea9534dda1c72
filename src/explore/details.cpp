#include "explore/details.h"

#include "explore/explorer.h"
#include "map/grid.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "text/messages.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {
namespace {

using text::_;
using text::N_;

constexpr const char* TAGS_QUERY =
    "select tagname, tagvalue from orvel_tags t join orvel_tagname tn on t.tagnameid=tn.tagnameid "
    " join orvel_tagvalue tv on t.tagvalueid=tv.tagvalueid  where objtype=?1 and objectid=?2  "
    "order by t.id";

// The file names of an entry in alphabetical order: they are sorted before
// they are joined (sorting the one joined row would sort nothing).
constexpr const char* HISTORY_QUERY =
    "select strftime('%Y-%m-%d %H:%M',datetime,'unixepoch'), msg,  (select "
    "group_concat(logfile,', ') from (select logfile from orvel_logentryfiles lef join "
    "orvel_logfile f on lef.logfileid=f.logfileid where lef.logentryid=le.id order by logfile))  "
    "from orvel_logentry le  order by datetime desc";

// Maps made elsewhere may lack the history tables; they have no history.
bool has_history_tables(map::MapDb& db) {
  return db.DBGETNUMRES(
             "select count(*) from sqlite_master where type='table' and name in "
             "('orvel_logentry','orvel_logentryfiles','orvel_logfile');") == 3;
}

}  // namespace

Details::Details(Explorer& ex, map::MapDb& db, const map::Grid& grid, const map::UserState& user,
                 ui::Ui& ui, text::Messages& msg)
    : ex_(ex), db_(db), grid_(grid), user_(user), ui_(ui), msg_(msg) {}

const map::ORVOBJREC* Details::object_here() const {
  const int32_t o = grid_.GETMAPA(user_.UPOSX, user_.UPOSY);
  return o > 0 ? &grid_.ORVOBJECTS[static_cast<std::size_t>(o)] : nullptr;
}

bool Details::CUROBJHASTAGS() const {
  const map::ORVOBJREC* o = object_here();
  return o && o->HASTAGS;
}

std::string Details::GETTAGS() {
  const map::ORVOBJREC* o = object_here();
  if (!o || o->ID == 0 || !db_.DB()) return {};
  map::Stmt st = db_.DBPREPARE(TAGS_QUERY);
  if (!st) {
    ui_.WGINFO("Preparing query");
    return {};
  }
  db_.DBBINDSTR(st, 1, o->OBJTYPE);
  db_.DBBINDQWORD(st, 2, o->ID);
  std::string tags;
  while (db_.DBSTEP(st) == SQLITE_ROW) {
    if (!tags.empty()) tags += '\n';
    tags += map::column_text(st, 0) + "=" + map::column_text(st, 1);
  }
  return tags;
}

void Details::SHOWTAGS() {
  const std::string tags = GETTAGS();
  if (!tags.empty()) ui_.WGREADMULTILINESTR(_("Tags"), _("Tags:"), tags, true);
}

void Details::SAYTAGS() {
  const std::string tags = GETTAGS();
  if (!tags.empty()) msg_.EDA(tags);
}

void Details::SAYID() {
  if (const map::ORVOBJREC* o = object_here()) msg_.EDA(text::STR2(o->ID));
}

void Details::MAPHISTORY() {
  if (ex_.CHECKNOMAP()) return;
  if (!db_.DB() && !ex_.OPENMAP().open()) return;
  if (!has_history_tables(db_)) {
    ui_.WGINFO("Brak historii tej mapy");
    return;
  }
  map::Stmt st = db_.DBPREPARE(HISTORY_QUERY);
  if (!st) db_.IFDBERREX("histprepare");
  std::string history;
  while (db_.DBSTEP(st) == SQLITE_ROW)
    history += map::column_text(st, 0) + "\n" + map::column_text(st, 1) + "\n(" +
               map::column_text(st, 2) + ")\n\n";
  if (history.empty())
    ui_.WGINFO("Brak historii tej mapy");
  else
    ui_.WGREADMULTILINESTR("Historia mapy", "Historia", history, true);
}

void Details::AREASTATS() {
  const map::Grid& g = grid_;
  // Each count with its words, the words translated on their own.
  const std::pair<int32_t, const char*> lines[] = {
      {g.ILOBJ, N_(" objects ")},      {g.STATPOI, N_(" points ")},
      {g.STATADR, N_(" adresses ")},   {g.STATNODES, N_(" intersections ")},
      {g.STATLIN, N_(" lines ")},      {g.STATHLEV, N_(" objects with height level")},
      {g.STATPOLYG, N_(" polygons.")},
  };
  std::string stats;
  for (const auto& [count, words] : lines) {
    if (!stats.empty()) stats += '\n';
    stats += text::STR2(count) + _(words);
  }
  ui_.WGINFO(stats);
}

}  // namespace orvela::explore
