#include "explore/crossing.h"

#include <array>

#include "map/mapdb.h"
#include "map/orvobj.h"
#include "text/translate.h"

namespace orvela::explore {
namespace {

using text::_;

constexpr std::string_view kTagQuery =
    "select tn.tagname, tv.tagvalue from orvel_tags t left join orvel_tagname tn on "
    "t.tagnameid=tn.tagnameid left join orvel_tagvalue tv on t.tagvalueid=tv.tagvalueid where "
    "t.objtype=?1 and t.objectid=?2 order by t.id;";

// What a crossing can tell, in the order it is spoken.
enum Feature {
  SIGNALS,
  SOUND,
  TACTILE,
  ISLAND,
  KERB_LOWERED,
  KERB_RAISED,
  KERB_FLUSH,
  UNMARKED,
  N
};

// Which feature one tag shows; N for none. Absent or "no" values show none.
Feature feature_of(std::string_view k, std::string_view v) {
  if (k == "highway") return v == "traffic_signals" ? SIGNALS : N;
  if (k == "crossing") {
    if (v == "traffic_signals") return SIGNALS;
    if (v == "island") return ISLAND;
    if (v == "unmarked") return UNMARKED;
    return N;
  }
  if (k == "crossing:signals") return v == "yes" ? SIGNALS : N;
  if (k == "crossing:island") return v == "yes" ? ISLAND : N;
  if (k == "crossing:markings") return v == "no" ? UNMARKED : N;
  // "walk" and "locate" are sounds too: during the green phase, or a
  // ticking that helps to find the button.
  if (k == "traffic_signals:sound") return v == "yes" || v == "walk" || v == "locate" ? SOUND : N;
  // "contrasted", "incorrect" and the like still mean there is paving to feel.
  if (k == "tactile_paving") return v.empty() || v == "no" ? N : TACTILE;
  if (k == "kerb") {
    if (v == "lowered") return KERB_LOWERED;
    if (v == "raised") return KERB_RAISED;
    if (v == "flush") return KERB_FLUSH;
  }
  return N;
}

std::string word(Feature f) {
  switch (f) {
    case SIGNALS:
      return _("traffic signals");
    case SOUND:
      return _("sound signals");
    case TACTILE:
      return _("tactile paving");
    case ISLAND:
      // TRANSLATORS: a traffic island in the middle of a pedestrian crossing.
      return _("island");
    case KERB_LOWERED:
      return _("lowered kerb");
    case KERB_RAISED:
      return _("raised kerb");
    case KERB_FLUSH:
      return _("flush kerb");
    case UNMARKED:
      // TRANSLATORS: a pedestrian crossing without road markings.
      return _("unmarked");
    case N:
      break;
  }
  return {};
}

}  // namespace

bool is_crossing_tag(std::string_view key, std::string_view value) {
  if (key == "highway") return value == "traffic_signals";
  return key == "crossing" || key == "crossing:signals" || key == "crossing:island" ||
         key == "crossing:markings" || key == "traffic_signals:sound" || key == "tactile_paving" ||
         key == "kerb";
}

std::vector<std::string> crossing_words(const std::vector<TagPair>& tags) {
  std::array<bool, N> has{};
  for (const auto& [k, v] : tags)
    if (Feature f = feature_of(k, v); f != N) has[f] = true;
  std::vector<std::string> words;
  for (int f = 0; f < N; ++f)
    if (has[static_cast<size_t>(f)]) words.push_back(word(static_cast<Feature>(f)));
  return words;
}

std::vector<TagPair> object_tags(map::MapDb& db, const map::ORVOBJREC& o) {
  std::vector<TagPair> tags;
  map::Stmt q = db.DBPREPARE(kTagQuery);
  db.IFDBERREX("prepq objecttags");
  db.DBBINDSTR(q, 1, o.OBJTYPE);
  db.DBBINDQWORD(q, 2, o.ID);
  while (db.DBSTEP(q) == SQLITE_ROW)
    tags.emplace_back(map::column_text(q, 0), map::column_text(q, 1));
  db.IFDBERREX("objecttags");
  return tags;
}

std::string crossing_details(map::MapDb& db, const map::ORVOBJREC& o) {
  const char t = map::objtype_letter(o);
  if (!o.HASTAGS || (t != map::OBJTYPE_POI && t != map::OBJTYPE_INTERSECTION) || !db.DB())
    return {};
  std::string s;
  for (const std::string& w : crossing_words(object_tags(db, o))) s += ", " + w;
  return s;
}

}  // namespace orvela::explore
