#include "osm/import_driver.h"

#include "explore/explorer.h"
#include "explore/open_map.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "osm/import_progress.h"
#include "osm/osmreader.h"
#include "osm/osmrules.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::osm {
namespace {

using text::_;

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
  auto name = ctx.ui.WGREADSTR(title, _("Destination map name:"), proposed_map_name(*in));
  if (!name || name->empty()) return std::nullopt;
  OSMIMPORTPARAMREC p;
  p.INFN = *in;
  p.OUTFN = destination_map(ctx.loader.MAPDIR(), *name);
  std::error_code ec;
  if (std::filesystem::exists(p.OUTFN, ec) && !ctx.ui.WGTN(_("Destination map exists, replace?")))
    return std::nullopt;
  return p;
}

// Opens the new map and puts the user at its centre, where the load that
// ends the command draws it; when it cannot be opened the user keeps the
// previous position.
void open_imported(ImportContext& ctx, const OSMIMPORTPARAMREC& p) {
  const std::optional<explore::MapPlace> centre =
      explore::open_map_at_centre(ctx.explorer, ctx.loader, ctx.db, p.OUTFN);
  if (!centre) return;
  ctx.user.ULAT = centre->LAT;
  ctx.user.ULON = centre->LON;
  ctx.user.ULATLONSET = true;
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

ui::BgResult OSMIMPORTTHREAD(const std::filesystem::path& errlog, const OsmRules& rules,
                             const OSMIMPORTPARAMREC& P, ui::BgProgress& progress) {
  ui::BgResult r;
  if (progress.BGPROCESCANCEL()) return r;
  progress.BGPROCESINFO(_("Importing"), ui::BGPROCESNAZWA);
  ImportProgressText words;
  OsmImportOptions opt;
  opt.rules = &rules;
  opt.progress = [&](uint64_t cur, uint64_t total) {
    return OSMREADPROGRESS(cur, total, words, progress);
  };
  OsmImportResult res = OSMPROCFILE(P.INFN, P.OUTFN, errlog, opt);
  r.LASTERR = res.LASTERR;
  r.LASTERRDESC = res.LASTERRDESC;
  r.cancelled = res.cancelled;
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
  if (!FROMFILE) return;
  const std::string title = _("OpenStreetMap import");
  auto params = ask_file_import(ctx, title);
  if (!params) return;
  const OSMIMPORTPARAMREC p = *params;
  // The rules are read here, on the window's thread, so that each faulty
  // line gets its own box before the work starts; the work only reads them.
  const std::optional<OsmRules> rules =
      load_osm_rules(ctx.rules_file, [&ctx](const std::string& s) { ctx.ui.WGINFO(s); });
  ui::BgResult r;
  if (!rules) {
    const OsmImportResult none = rules_unreadable();
    r.LASTERR = none.LASTERR;
    r.LASTERRDESC = none.LASTERRDESC;
  } else {
    ui::BgTask task;
    task.texts = {title, _("Progress:"), ""};
    task.work = [errlog = ctx.db.errlog_path(), &rules, p](ui::BgProgress& progress) {
      return OSMIMPORTTHREAD(errlog, *rules, p, progress);
    };
    r = ctx.ui.BGPROCES(std::move(task));
  }
  if (r.LASTERR > 0) {
    ctx.ui.WGINFO(
        text::STRTOKENREPLACE(_("Error {errnum}: {errdesc}."),
                              {"errnum", std::to_string(r.LASTERR), "errdesc", r.LASTERRDESC}));
  } else if (!r.cancelled) {
    // The viewer's connection still reads the file this import replaced.
    std::error_code ec;
    if (!ctx.loader.FN().empty() && std::filesystem::equivalent(ctx.loader.FN(), p.OUTFN, ec))
      ctx.loader.close_map();
    if (ctx.ui.WGTN(_("Import finished. Open imported map?"))) open_imported(ctx, p);
  }
  ctx.explorer.READMAP();
}

}  // namespace orvela::osm
