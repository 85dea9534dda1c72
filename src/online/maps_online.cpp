// The map servers: the catalogue, installing and updating maps, deleting
// them. The catalogue and installation dialogs speak Polish, as the servers'
// maps and their menu items do; they are not translated.
#include <algorithm>

#include "explore/explorer.h"
#include "explore/open_map.h"
#include "map/loader.h"
#include "map/user.h"
#include "online/map_install.h"
#include "online/online.h"
#include "text/numeric.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::online {

using text::_;

namespace {

constexpr const char* kProgressLabel = "Postęp";
constexpr const char* kCancelled = "Operacja przerwana.";
const std::vector<std::string> kMapTypes = {"obszary", "polska", "inne"};

bool same_file(const std::filesystem::path& a, const std::string& b) {
  if (b.empty()) return false;
  std::error_code ec;
  return a.string() == b || std::filesystem::equivalent(a, b, ec);
}

std::string with_slash(std::string s) {
  if (!s.empty() && !s.ends_with('/')) s += '/';
  return s;
}

}  // namespace

std::string no_address_text(std::string_view key) {
  std::string t;
  if (key == "home_page")
    t = _("No home page configured: set {key} in orvela.ini.");
  else if (key == "author_mail")
    t = _("No mail address configured: set {key} in orvela.ini.");
  else if (key == "web_map_viewer")
    t = _("No web map viewer configured: set {key} in orvela.ini.");
  else
    t = _("No map server configured: set {key} in orvela.ini.");
  return text::STRTOKENREPLACE(t, {"key", std::string(key)});
}

Online::Online(OnlineContext ctx, TransferLimits limits)
    : ctx_(std::move(ctx)), dl_(ctx_.user_agent, ctx_.temp_dir, std::move(limits)) {}

bool Online::map_open() const { return !ctx_.loader.FN().empty(); }

bool Online::position_known() const { return ctx_.user.ULATLONSET; }

std::string Online::MAPSERW() const {
  return with_slash(LASTUSEDSERVER ? ctx_.addresses.primary_map_server
                                   : ctx_.addresses.backup_map_server);
}

bool Online::map_server_configured(bool quiet) {
  if (!MAPSERW().empty()) return true;
  if (!quiet)
    ctx_.ui.WGINFO(no_address_text(LASTUSEDSERVER ? "primary_map_server" : "backup_map_server"));
  return false;
}

std::filesystem::path Online::map_path(const std::string& name) const {
  return ctx_.loader.MAPDIR() / name;
}

void Online::fetch_with_dialog(const std::string& url, const std::string& label) {
  ui::BgTask task;
  task.texts = {dl_.WEBOPNAME, label, ""};
  task.work = [this, url](ui::BgProgress& progress) {
    dl_.ORVELADLFILE(url, progress);
    return ui::BgResult{};
  };
  ctx_.ui.BGPROCES(std::move(task));
}

MAPLIST Online::WEBREADMAPLIST() {
  dl_.WEBOPNAME = "Pobieranie listy map";
  dl_.SETWEBERR("");
  fetch_with_dialog(MAPSERW() + kMapListFile, kProgressLabel);
  MapListResult r;
  if (!dl_.ISWEBERR() && !dl_.cancelled()) {
    if (std::optional<std::string> text = read_downloaded(dl_.TEMPFILE())) {
      r = parse_map_list(*text);
      if (!r.error.empty()) dl_.SETWEBERR(r.error);
    } else {
      dl_.SETWEBERR("Nie można przetworzyć listy map");
    }
  }
  dl_.ERASETEMPFILE();
  return r.records;
}

std::optional<MAPLISTRECORD> Online::choose_map(const MAPLIST& list, bool primary) {
  const std::string title =
      std::string("Pobierz i zainstaluj mapę") + (primary ? "" : " (serwer zapasowy)");
  const auto type = ctx_.ui.WGREADLIST(title, "Wybierz typ mapy", kMapTypes);
  if (!type) return std::nullopt;
  const std::string& typ = kMapTypes[*type];
  std::string name = "obszary.orvel";
  // The areas are one map; the other types list their maps.
  if (typ != "obszary") {
    std::vector<std::string> names;
    for (const auto& r : list)
      if (r.TYP == typ) names.push_back(r.NAME);
    const auto pick = ctx_.ui.WGREADLIST(title, "Wybierz mapę", names);
    if (!pick) return std::nullopt;
    name = names[*pick];
  }
  for (const auto& r : list)
    if (r.NAME == name && r.TYP == typ) return r;
  return std::nullopt;
}

std::optional<std::string> Online::install_question(const MAPLISTRECORD& r, bool primary) {
  std::string q;
  const std::filesystem::path installed = map_path(r.NAME);
  std::error_code ec;
  if (std::filesystem::exists(installed, ec)) {
    // Dates compare as text, as the servers write them.
    if (r.DATA > ctx_.loader.GETMAPDATE(installed)) {
      q = "Zaktualizować mapę " + r.NAME;
    } else if (primary) {
      ctx_.ui.WGINFO("Mapa " + r.NAME + " nie wymaga aktualizacji.");
      return std::nullopt;
    } else {
      q = "Mapa na serwerze zapasowym jest starsza, czy na pewno chcesz zastąpić nią aktualną "
          "mapę";
    }
  } else {
    q = "Zainstalować mapę " + r.NAME;
  }
  return q + " (wymaga pobrania " + std::to_string(text::round_half_even_i64(r.SIZE / 1024.0)) +
         " KB danych)?";
}

std::optional<MAPLIST> Online::read_catalogue(bool quiet) {
  if (!map_server_configured(quiet)) return std::nullopt;
  MAPLIST list = WEBREADMAPLIST();
  dl_.WEBERRWRI(ctx_.ui);
  if (dl_.ISWEBERR() || dl_.cancelled()) return std::nullopt;
  return list;
}

void Online::INSTALLMAP(bool PRIMARYSERVER, const std::string& MAPNAME) {
  LASTUSEDSERVER = PRIMARYSERVER;
  const std::optional<MAPLIST> list = read_catalogue(false);
  if (!list) return;
  std::optional<MAPLISTRECORD> rec;
  if (MAPNAME.empty()) {
    rec = choose_map(*list, PRIMARYSERVER);
  } else {
    auto it = std::find_if(list->begin(), list->end(),
                           [&](const MAPLISTRECORD& r) { return r.NAME == MAPNAME; });
    if (it != list->end()) rec = *it;
  }
  if (!rec) return;
  const std::optional<std::string> question = install_question(*rec, PRIMARYSERVER);
  if (!question || !ctx_.ui.WGTN(*question)) return;
  ctx_.loader.close_map();
  const bool cancelled = INSTALLMAPFILE(rec->NAME);
  dl_.ERASETEMPFILE();
  report_install(rec->NAME, cancelled);
  reopen_map();
}

bool Online::INSTALLMAPFILE(const std::string& name) {
  dl_.WEBOPNAME = "Pobieranie mapy " + name;
  dl_.SETWEBERR("");
  ui::BgTask task;
  task.texts = {dl_.WEBOPNAME, kProgressLabel, ""};
  task.work = [this, name, url = MAPSERW() + url_escape(name) + ".7z",
               mapdir = ctx_.loader.MAPDIR()](ui::BgProgress& progress) {
    dl_.ORVELADLFILE(url, progress);
    if (dl_.ISWEBERR() || dl_.cancelled()) return ui::BgResult{};
    dl_.WEBOPNAME = "Instalacja mapy " + name;
    progress.BGPROCESINFO(dl_.WEBOPNAME, ui::BGPROCESTYT);
    const InstallResult r = install_map_archive(dl_.TEMPFILE(), mapdir, name,
                                                [&progress] { return progress.BGPROCESCANCEL(); });
    if (!r.error.empty()) dl_.SETWEBERR("Błąd instalacji mapy: " + r.error);
    return ui::BgResult{};
  };
  return ctx_.ui.BGPROCES(std::move(task)).cancelled || dl_.cancelled();
}

void Online::report_install(const std::string& name, bool cancelled) {
  if (dl_.ISWEBERR()) {
    dl_.WEBERRWRI(ctx_.ui);
  } else if (cancelled) {
    ctx_.ui.WGINFO(kCancelled);
  } else if (same_file(map_path(name), ctx_.loader.FN())) {
    ctx_.ui.WGINFO("Zainstalowano.");
  } else if (ctx_.ui.WGTN("Zainstalowano. Otworzyć pobraną mapę?")) {
    open_installed(name);
  }
}

void Online::open_installed(const std::string& name) {
  if (ctx_.user.ULATLONSET) {
    ctx_.loader.change_map(map_path(name).string());
    return;
  }
  // Without a position the map would open with nothing loaded: the user
  // starts at its centre instead.
  const std::optional<explore::MapPlace> centre =
      explore::open_map_at_centre(ctx_.explorer, ctx_.loader, ctx_.db, map_path(name));
  if (!centre) return;
  ctx_.user.ULAT = centre->LAT;
  ctx_.user.ULON = centre->LON;
  ctx_.user.ULATLONSET = true;
}

void Online::reopen_map() {
  if (!ctx_.loader.FN().empty()) ctx_.explorer.READMAP();
}

void Online::UPDMAP() {
  const std::string& fn = ctx_.loader.FN();
  const std::string prefix = ctx_.loader.MAPDIR().string() + "/";
  const std::string name = fn.starts_with(prefix) ? fn.substr(prefix.size()) : fn;
  if (!name.empty()) INSTALLMAP(LASTUSEDSERVER, name);
}

void Online::UPDALLMAPS(bool AUTO) {
  if (!AUTO && !ctx_.ui.WGTN("Sprawdzić dostępność aktualizacji zainstalowanych map?")) return;
  const std::optional<MAPLIST> list = read_catalogue(AUTO);
  if (!list) return;
  int installed = 0;
  std::vector<std::string> updates;
  int64_t total = 0;
  for (const auto& r : *list) {
    std::error_code ec;
    if (!std::filesystem::exists(map_path(r.NAME), ec)) continue;
    ++installed;
    if (r.DATA > ctx_.loader.GETMAPDATE(map_path(r.NAME))) {
      updates.push_back(r.NAME);
      total += r.SIZE;
    }
  }
  if (installed == 0) {
    ctx_.ui.WGINFO("Nie znaleziono żadnych zainstalowanych map.");
    return;
  }
  if (updates.empty()) {
    if (!AUTO)
      ctx_.ui.WGINFO("Brak dostępnych aktualizacji dla " + std::to_string(installed) +
                     " zainstalowanych map.");
    return;
  }
  const int64_t mb = text::round_half_even_i64(static_cast<double>(total) / 1024.0 / 1024.0);
  if (!ctx_.ui.WGTN("Zainstalować aktualizacje dla " + std::to_string(updates.size()) +
                    " map (wymaga pobrania około " + std::to_string(mb) + " MB danych)?"))
    return;
  ctx_.loader.close_map();
  bool cancelled = false;
  // The first map that fails stops the round; those before it stay updated.
  for (const std::string& name : updates) {
    cancelled = INSTALLMAPFILE(name);
    if (dl_.ISWEBERR() || cancelled) break;
  }
  dl_.ERASETEMPFILE();
  if (dl_.ISWEBERR())
    dl_.WEBERRWRI(ctx_.ui);
  else if (cancelled)
    ctx_.ui.WGINFO(kCancelled);
  else
    ctx_.ui.WGINFO("Zainstalowano aktualizacje.");
  reopen_map();
}

void Online::DELMAP() {
  const std::vector<std::string> maps = ctx_.loader.GETMAPLIST();
  if (maps.empty()) {
    ctx_.ui.WGINFO(_("No maps installed."));
    return;
  }
  const auto pick = ctx_.ui.WGREADLIST(_("Delete map"), _("Select map to delete"), maps);
  if (!pick) return;
  const std::string& name = maps[*pick];
  if (!ctx_.ui.WGTN(text::STRTOKENREPLACE(_("Really delete map {mapname}?"), {"mapname", name})))
    return;
  const std::filesystem::path file = map_path(name);
  if (same_file(file, ctx_.loader.FN())) ctx_.loader.close_map();
  std::error_code ec;
  ctx_.ui.WGINFO(std::filesystem::remove(file, ec) ? _("Map deleted.") : _("Map deletion error."));
}

}  // namespace orvela::online
