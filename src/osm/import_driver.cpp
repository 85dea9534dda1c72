#include "osm/import_driver.h"

#include <fmt/format.h>

#include <algorithm>

#include "explore/explorer.h"
#include "explore/open_map.h"
#include "map/geo.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "osm/import_progress.h"
#include "osm/osmreader.h"
#include "osm/osmrules.h"
#include "text/atomic_file.h"
#include "text/numeric.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::osm {
namespace {

using text::_;

// Asks for the new map's name (proposing `proposed`) and, when it exists,
// whether to replace it; the map file, or nothing when the user stopped.
std::optional<std::filesystem::path> ask_destination(ImportContext& ctx, const std::string& title,
                                                     const std::string& proposed) {
  auto name = ctx.ui.WGREADSTR(title, _("Destination map name:"), proposed);
  if (!name || name->empty()) return std::nullopt;
  std::filesystem::path out = destination_map(ctx.loader.MAPDIR(), *name);
  std::error_code ec;
  if (std::filesystem::exists(out, ec) && !ctx.ui.WGTN(_("Destination map exists, replace?")))
    return std::nullopt;
  return out;
}

// Asks for the source and destination; nothing when the user stopped.
std::optional<OSMIMPORTPARAMREC> ask_file_import(ImportContext& ctx, const std::string& title) {
  // The second filter shows the compressed and binary extracts that the
  // conversion reads as well.
  auto in =
      ctx.ui.WGWYBORPLI(ui::WGFOPEN, title,
                        {ui::FileFilter{_("OSM XML file *.xml, *.osm"), "*.osm;*.xml"},
                         ui::FileFilter{_("OpenStreetMap data *.osm, *.xml, *.bz2, *.gz, *.pbf"),
                                        "*.osm;*.xml;*.bz2;*.gz;*.pbf"}});
  if (!in) return std::nullopt;
  auto out = ask_destination(ctx, title, proposed_map_name(*in));
  if (!out) return std::nullopt;
  OSMIMPORTPARAMREC p;
  p.INFN = *in;
  p.OUTFN = *out;
  return p;
}

// Opens the new map and puts the user at `place` (a server import's typed
// centre) or else at the map's centre, where the load that ends the command
// draws it; when it cannot be opened the user keeps the previous position.
void open_imported(ImportContext& ctx, const OSMIMPORTPARAMREC& p,
                   const std::optional<explore::MapPlace>& place) {
  std::optional<explore::MapPlace> at = place;
  if (at) {
    ctx.loader.change_map(p.OUTFN.string());
  } else {
    at = explore::open_map_at_centre(ctx.explorer, ctx.loader, ctx.db, p.OUTFN);
    if (!at) return;
  }
  ctx.user.ULAT = at->LAT;
  ctx.user.ULON = at->LON;
  ctx.user.ULATLONSET = true;
}

// The edge of a box in degrees, written as XAPI reads it.
std::string degrees(int64_t micro, int64_t limit) {
  return fmt::format("{:.6f}", static_cast<double>(std::clamp(micro, -limit, limit)) / 1e6);
}

}  // namespace

std::string proposed_map_name(const std::filesystem::path& infn) {
  std::filesystem::path name = infn.filename();
  // "city.osm.bz2" and "city.osm.pbf" propose "city", like "city.osm" does.
  const std::string ext = text::LOWCASESTR(name.extension().string());
  if (ext == ".bz2" || ext == ".gz" || ext == ".pbf") {
    name = name.stem();
    const std::string inner = text::LOWCASESTR(name.extension().string());
    if (inner != ".osm" && inner != ".xml") return text::LOWCASESTR(name.string());
  }
  return text::LOWCASESTR(name.stem().string());
}

std::filesystem::path destination_map(const std::filesystem::path& mapdir,
                                      const std::string& name) {
  std::string safe = name;
  for (char& c : safe)
    if (c == '/' || c == '\\') c = '_';
  if (safe == "." || safe == "..") safe = "_";
  return mapdir / (safe + ".osm.orvel");
}

bool OSMREADPROGRESS(uint64_t CUR, uint64_t TOTAL, const ImportProgressText& words,
                     ui::BgProgress& progress) {
  std::string t = words.text(CUR, TOTAL);
  if (!t.empty()) progress.BGPROCESINFO(t, ui::BGPROCESEDIT);
  return progress.BGPROCESCANCEL();
}

std::string xapi_url(const std::string& server, int32_t LAT, int32_t LON, int64_t radius_m) {
  // Metres in one degree of latitude and of longitude, at the centre.
  const int32_t NS = map::GEODIST(LAT - 500000, LON, LAT + 500000, LON);
  const int32_t EW = map::GEODIST(LAT, LON - 500000, LAT, LON + 500000);
  // At a pole a degree of longitude has no length: the box goes all round.
  constexpr int64_t kAllRound = 360000000;
  const int64_t LONINC =
      EW > 0 ? text::round_half_even_i64(radius_m / double(EW) * 1e6) : kAllRound;
  const int64_t LATINC =
      NS > 0 ? text::round_half_even_i64(radius_m / double(NS) * 1e6) : kAllRound;
  const std::string lower = text::LOWCASESTR(server);
  const std::string base =
      lower.starts_with("http://") || lower.starts_with("https://") ? server : "http://" + server;
  return base + "?map?bbox=" + degrees(int64_t{LON} - LONINC, 180000000) + "," +
         degrees(int64_t{LAT} - LATINC, 90000000) + "," +
         degrees(int64_t{LON} + LONINC, 180000000) + "," + degrees(int64_t{LAT} + LATINC, 90000000);
}

std::optional<ServerImport> OSMIMPORTSERVPARAMS(ImportContext& ctx, const std::string& title) {
  std::vector<std::string> servers;
  if (ctx.OSMMAPSERVERS)
    for (std::string& s : ctx.OSMMAPSERVERS())
      if (!s.empty()) servers.push_back(std::move(s));
  if (servers.empty()) {
    ctx.ui.WGINFO(text::STRTOKENREPLACE(_("No XAPI server configured: set {key} in orvela.ini."),
                                        {"key", "xapi_server_1"}));
    return std::nullopt;
  }
  const auto pick = ctx.ui.WGREADLIST(title, _("Import server"), servers);
  if (!pick) return std::nullopt;
  const auto centre =
      ctx.explorer.READCORDS(title, _("Start point (latitude and longitude separated by space):"));
  if (!centre) return std::nullopt;
  const auto entry = ctx.ui.WGREADSTR(title, _("Import radius (kilometers):"), "");
  if (!entry) return std::nullopt;
  const int64_t radius = text::INT2(*entry);
  if (radius < 1) {
    ctx.ui.WGINFO(_("Incorrect import radius."));
    return std::nullopt;
  }
  // Half the earth's circumference covers every point already.
  const int64_t metres = std::min<int64_t>(radius, 20000) * 1000;
  return ServerImport{xapi_url(servers[*pick], centre->first, centre->second, metres),
                      centre->first, centre->second};
}

ui::BgResult OSMIMPORTTHREAD(const std::filesystem::path& errlog, const OsmRules& rules,
                             const OSMIMPORTPARAMREC& P, const ImportDownload& download,
                             ui::BgProgress& progress, std::string* detail) {
  ui::BgResult r;
  std::filesystem::path infn = P.INFN;
  // The downloaded data lies beside the new map, under a temporary name that
  // a start after a crash clears away; it never outlives the import.
  std::optional<text::RemoveOnFailure> downloaded;
  if (!P.FROMFILE) {
    progress.BGPROCESINFO(_("Downloading from server"), ui::BGPROCESNAZWA);
    infn = text::temp_path_beside(P.OUTFN);
    downloaded.emplace(std::vector<std::filesystem::path>{infn});
    const std::string error = download ? download(P.URL, infn, progress) : "no downloader";
    if (!error.empty()) {
      r.LASTERR = 5;
      r.LASTERRDESC = error;
      return r;
    }
  }
  if (progress.BGPROCESCANCEL()) return r;
  progress.BGPROCESINFO(_("Importing"), ui::BGPROCESNAZWA);
  ImportProgressText words;
  OsmImportOptions opt;
  opt.rules = &rules;
  opt.progress = [&](uint64_t cur, uint64_t total) {
    return OSMREADPROGRESS(cur, total, words, progress);
  };
  OsmImportResult res = OSMPROCFILE(infn, P.OUTFN, errlog, opt);
  r.LASTERR = res.LASTERR;
  r.LASTERRDESC = res.LASTERRDESC;
  r.cancelled = res.cancelled;
  if (detail) *detail = res.error_detail;
  return r;
}

void add_commands(ui::Commands& c, ImportContext& ctx) {
  using text::N_;
  c.add({.id = 165,
         .name = "IDM_OSMIMPORTFILE",
         .menu = ui::Menu::MapImport,
         .order = 10,
         .text = N_("From OSM XML &file..."),
         .run = [&ctx] { OSMIMPORT(ctx, true); }});
  c.add({.id = 170,
         .name = "IDM_OSMIMPORTSERVER",
         .menu = ui::Menu::MapImport,
         .order = 20,
         .text = N_("From &server..."),
         .run = [&ctx] { OSMIMPORT(ctx, false); }});
}

void OSMIMPORT(ImportContext& ctx, bool FROMFILE) {
  const std::string title = _("OpenStreetMap import");
  std::optional<OSMIMPORTPARAMREC> params;
  std::optional<explore::MapPlace> centre;
  if (FROMFILE) {
    params = ask_file_import(ctx, title);
  } else if (const std::optional<ServerImport> server = OSMIMPORTSERVPARAMS(ctx, title)) {
    if (const auto out = ask_destination(ctx, title, "")) {
      params = OSMIMPORTPARAMREC{{}, server->URL, *out, false};
      centre = explore::MapPlace{server->LAT, server->LON};
    }
  }
  if (!params) return;
  const OSMIMPORTPARAMREC p = *params;
  // The rules are read here, on the window's thread, so that each faulty
  // line gets its own box before the work starts; the work only reads them.
  const std::optional<OsmRules> rules =
      load_osm_rules(ctx.rules_file, [&ctx](const std::string& s) { ctx.ui.WGINFO(s); });
  ui::BgResult r;
  std::string detail;  // written by the work, read once BGPROCES has returned
  if (!rules) {
    const OsmImportResult none = rules_unreadable();
    r.LASTERR = none.LASTERR;
    r.LASTERRDESC = none.LASTERRDESC;
  } else {
    ui::BgTask task;
    task.texts = {title, _("Progress:"), ""};
    task.work = [errlog = ctx.db.errlog_path(), &rules, p, &download = ctx.download,
                 &detail](ui::BgProgress& progress) {
      return OSMIMPORTTHREAD(errlog, *rules, p, download, progress, &detail);
    };
    r = ctx.ui.BGPROCES(std::move(task));
  }
  if (r.LASTERR > 0) {
    ctx.ui.WGINFO(import_error_text(r.LASTERR, r.LASTERRDESC, detail));
  } else if (!r.cancelled) {
    // The viewer's connection still reads the file this import replaced.
    std::error_code ec;
    if (!ctx.loader.FN().empty() && std::filesystem::equivalent(ctx.loader.FN(), p.OUTFN, ec))
      ctx.loader.close_map();
    if (ctx.ui.WGTN(_("Import finished. Open imported map?"))) open_imported(ctx, p, centre);
  }
  ctx.explorer.READMAP();
}

}  // namespace orvela::osm
