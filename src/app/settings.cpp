#include "app/settings.h"

#include <fmt/format.h>

#include <algorithm>
#include <system_error>

#include "app/rini.h"
#include "text/atomic_file.h"
#include "text/strutil.h"

namespace orvela::app {

namespace {

int clamp_int(int64_t v, int lo, int hi) {
  return static_cast<int>(std::clamp<int64_t>(v, lo, hi));
}

uint8_t vol_byte(std::string_view v) { return static_cast<uint8_t>(INICHECKVOL(v)); }

// One key of user.ini: how it is read and how its value is written. The
// array order is the order of the lines in the file.
struct UserKey {
  const char* key;
  void (*read)(Settings&, const std::string&);
  // Appends the value; false leaves the line out.
  bool (*write)(const Settings&, std::string&);
};

#define ORVELA_BOOL_KEY(name, field)                                                         \
  UserKey {                                                                                  \
    name, [](Settings& s, const std::string& v) { s.field = ini_bool(v); },                  \
        [](const Settings& s, std::string& out) { return out += s.field ? "1" : "0", true; } \
  }

const UserKey kUserKeys[] = {
    {"soundvolume",
     [](Settings& s, const std::string& v) { s.sound.scape.NORMALVOLUME = vol_byte(v); },
     [](const Settings& s, std::string& out) {
       return out += std::to_string(s.sound.scape.NORMALVOLUME), true;
     }},
    ORVELA_BOOL_KEY("soundmono", sound.engine.SOUNDMONO),
    ORVELA_BOOL_KEY("soundbehindlower", sound.engine.SOUNDBEHINDLOWER),
    ORVELA_BOOL_KEY("soundhrtfmode", sound.engine.SOUNDHRTFMODE),
    ORVELA_BOOL_KEY("soundmuted", sound.scape.SOUNDMUTED),
    ORVELA_BOOL_KEY("soundspeakerschanged", sound.engine.SOUNDSPEAKERSCHANGED),
    {"sounddevicename",
     [](Settings& s, const std::string& v) { s.sound.engine.SOUNDDEVICENAME = v; },
     [](const Settings& s, std::string& out) {
       // The system's default device is the empty name: no line at all.
       out += s.sound.engine.SOUNDDEVICENAME;
       return !s.sound.engine.SOUNDDEVICENAME.empty();
     }},
    ORVELA_BOOL_KEY("usemouse", mouse.USEMOUSE),
    {"mousefactor",
     [](Settings& s, const std::string& v) {
       s.mouse.MOUSEFACTOR = clamp_int(text::INT2(v), INT32_MIN, INT32_MAX);
     },
     [](const Settings& s, std::string& out) {
       return out += std::to_string(s.mouse.MOUSEFACTOR), true;
     }},
    ORVELA_BOOL_KEY("checkautoupdate", CHECKAUTOUPDATE),
    ORVELA_BOOL_KEY("confirmexit", CONFIRMEXIT),
    ORVELA_BOOL_KEY("savesettingsremind", SAVESETTINGSREMIND),
    {"bookmarksaveformat",
     [](Settings& s, const std::string& v) {
       int64_t f = text::INT2(v);
       s.bookmarks.BOOKMARKSAVEFORMAT =
           (f == bookmarks::BMFORMAT_LSDB) ? bookmarks::BMFORMAT_LSDB : bookmarks::BMFORMAT_LSCP;
     },
     [](const Settings& s, std::string& out) {
       return out += std::to_string(s.bookmarks.BOOKMARKSAVEFORMAT), true;
     }},
    {"udirmode",
     [](Settings& s, const std::string& v) {
       s.explore.UDIRMODE = static_cast<uint8_t>(INIGETUDIRMODE(v));
     },
     [](const Settings& s, std::string& out) {
       const int m = s.explore.UDIRMODE < UDIRMODESCOUNT ? s.explore.UDIRMODE : 0;
       return out += kUdirModeSymbols[m], true;
     }},
    ORVELA_BOOL_KEY("nmealog_omitstops", gps.NMEALOG_OMITSTOPS),
    ORVELA_BOOL_KEY("gps_autoudirchange", gps.GPS_AUTOUDIRCHANGE),
};
#undef ORVELA_BOOL_KEY

const UserKey* find_user_key(const std::string& lower_name) {
  for (const UserKey& k : kUserKeys)
    if (lower_name == k.key) return &k;
  return nullptr;
}

void keep_unknown(Settings& s, const std::string& name, const std::string& value) {
  std::string lower = text::LOWCASESTR(name);
  for (auto& kv : s.unknown_user_keys)
    if (text::LOWCASESTR(kv.first) == lower) {
      kv.second = value;  // a later line overrides an earlier one
      return;
    }
  s.unknown_user_keys.emplace_back(name, value);
}

std::string* service_field(Settings& s, const std::string& key) {
  ServiceConfig& c = s.services;
  if (key == "primary_map_server") return &c.primary_map_server;
  if (key == "backup_map_server") return &c.backup_map_server;
  if (key == "xapi_server_1") return &c.xapi_server_1;
  if (key == "xapi_server_2") return &c.xapi_server_2;
  if (key == "xapi_server_3") return &c.xapi_server_3;
  if (key == "weather_service") return &s.weather.weather_service;
  if (key == "weather_api_key") return &s.weather.weather_api_key;
  if (key == "home_page") return &c.home_page;
  if (key == "author_mail") return &c.author_mail;
  if (key == "web_map_viewer") return &c.web_map_viewer;
  return nullptr;
}

void read_distance_model(Settings& s, const std::string& v) {
  static const std::pair<const char*, int> kModels[] = {
      {"i", AL_INVERSE_DISTANCE},  {"ic", AL_INVERSE_DISTANCE_CLAMPED},
      {"l", AL_LINEAR_DISTANCE},   {"lc", AL_LINEAR_DISTANCE_CLAMPED},
      {"e", AL_EXPONENT_DISTANCE}, {"ec", AL_EXPONENT_DISTANCE_CLAMPED}};
  std::string lower = text::LOWCASESTR(v);
  for (const auto& [sym, model] : kModels)
    if (lower == sym) s.sound.engine.SOUNDDISTANCEMODEL = model;
}

void apply_program_key(Settings& s, const std::string& key, const std::string& v) {
  if (key == "initial_volume")
    s.sound.scape.NORMALVOLUME = vol_byte(v);
  else if (key == "area_volume")
    s.sound.scape.OBSZARYVOL = vol_byte(v);
  else if (key == "line_volume")
    s.sound.scape.LINIEVOL = vol_byte(v);
  else if (key == "soundscape_range")
    s.sound.engine.SOUNDSCAPERANGE = static_cast<uint8_t>(clamp_int(text::INT2(v), 1, 10));
  else if (key == "sound_distance_model")
    read_distance_model(s, v);
  // Stored in a byte where the program began; kept in that range.
  else if (key == "sound_distance_factor")
    s.sound.engine.SOUNDDISTANCEFACTOR = static_cast<uint8_t>(clamp_int(text::INT2(v), 1, 255));
  else if (std::string* f = service_field(s, key))
    *f = v;
}

}  // namespace

int INIGETUDIRMODE(std::string_view symbol) {
  std::string lower = text::LOWCASESTR(symbol);
  for (int i = 0; i < UDIRMODESCOUNT; ++i)
    if (lower == kUdirModeSymbols[i]) return i;
  return 0;
}

int INICHECKVOL(std::string_view s) { return clamp_int(text::INT2(s), 5, 100); }

void READINI(Settings& s, const std::filesystem::path& file) {
  const Settings defaults;
  s.sound.scape.NORMALVOLUME = defaults.sound.scape.NORMALVOLUME;
  s.sound.scape.OBSZARYVOL = defaults.sound.scape.OBSZARYVOL;
  s.sound.scape.LINIEVOL = defaults.sound.scape.LINIEVOL;
  s.sound.engine.SOUNDDISTANCEMODEL = defaults.sound.engine.SOUNDDISTANCEMODEL;
  s.services = defaults.services;
  s.weather = defaults.weather;
  IniFile f(file);
  if (!f.is_open()) return;
  std::string name, value;
  while (INIGETNEXT(f, name, value)) apply_program_key(s, text::LOWCASESTR(name), value);
}

bool read_user_ini(Settings& s, const std::filesystem::path& file) {
  IniFile f(file);
  if (!f.is_open()) return false;
  s.unknown_user_keys.clear();
  std::string name, value;
  while (INIGETNEXT(f, name, value)) {
    if (const UserKey* k = find_user_key(text::LOWCASESTR(name)))
      k->read(s, value);
    else
      keep_unknown(s, name, value);
  }
  return true;
}

std::string user_ini_text(const Settings& s) {
  std::string out;
  for (const UserKey& k : kUserKeys) {
    std::string value;
    if (k.write(s, value)) out += fmt::format("{}={}\n", k.key, value);
  }
  for (const auto& [name, value] : s.unknown_user_keys) out += fmt::format("{}={}\n", name, value);
  return out;
}

text::WriteResult write_user_ini(const Settings& s, const std::filesystem::path& file) {
  return text::write_file_atomically(file, user_ini_text(s));
}

std::string default_program_ini_text() {
  Settings d;
  const ServiceConfig& c = d.services;
  return fmt::format(
      "; Orvela program settings. Lines are name=value; ';' starts a comment.\n"
      "; Volumes 5..100.\n"
      "initial_volume={}\narea_volume={}\nline_volume={}\n"
      "; How many squares around the user sound (1..10).\n"
      "soundscape_range={}\n"
      "; i, ic, l, lc, e or ec (inverse, linear, exponent; c = clamped).\n"
      "sound_distance_model=ic\n"
      "sound_distance_factor={}\n"
      "; Map servers (catalogue maplista.dat and map archives), ending in '/'.\n"
      "primary_map_server={}\nbackup_map_server={}\n"
      "; XAPI-compatible OpenStreetMap servers (host and path) for imports.\n"
      "xapi_server_1={}\nxapi_server_2={}\nxapi_server_3={}\n"
      "; Weather data service and your own API key for it.\n"
      "weather_service={}\nweather_api_key={}\n"
      "home_page={}\nauthor_mail={}\nweb_map_viewer={}\n",
      d.sound.scape.NORMALVOLUME, d.sound.scape.OBSZARYVOL, d.sound.scape.LINIEVOL,
      d.sound.engine.SOUNDSCAPERANGE, d.sound.engine.SOUNDDISTANCEFACTOR, c.primary_map_server,
      c.backup_map_server, c.xapi_server_1, c.xapi_server_2, c.xapi_server_3,
      d.weather.weather_service, d.weather.weather_api_key, c.home_page, c.author_mail,
      c.web_map_viewer);
}

bool create_program_ini_if_missing(const std::filesystem::path& file) {
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) return true;
  return static_cast<bool>(text::write_file_atomically(file, default_program_ini_text()));
}

}  // namespace orvela::app
