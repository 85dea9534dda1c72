#pragma once
// The program settings (orvela.ini: tuning values and service addresses the
// user edits by hand) and the user settings (user.ini: what the Settings menu
// changes and "Save user settings" writes).
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bookmarks/bookmark_settings.h"
#include "explore/direction.h"
#include "explore/mouse.h"
#include "gps/gps_settings.h"
#include "online/addresses.h"
#include "sound/engine_settings.h"
#include "text/atomic_file.h"
#include "weather/weather_settings.h"

namespace orvela::app {

// Addresses of the services the program talks to; keys of orvela.ini. The
// map servers, the home page and the web map viewer are the online
// commands' part; no address of a site the project does not run is made up.
struct ServiceConfig : online::OnlineAddresses {
  // XAPI-compatible OpenStreetMap servers: host and path, as offered in the
  // import list.
  std::string xapi_server_1 = "overpass-api.de/api/xapi";
  std::string xapi_server_2 = "overpass.openstreetmap.ru/cgi/xapi_meta";
  std::string xapi_server_3 = "overpass.kumi.systems/api/xapi";
  std::string author_mail;
};

// Everything both files hold, with the defaults in force before any file is
// read. This is the one copy of each setting for the whole run: a module
// whose switches these are defines their part (sound::SoundSettings,
// explore::ExploreSettings, explore::MouseSettings,
// bookmarks::BookmarkSettings, gps::GpsSettings, weather::WeatherSettings)
// and works on the part held here, so a switch flipped by a command is the
// value saved and shown.
struct Settings {
  // Volumes, range, distance model and factor (orvela.ini); switches,
  // volume and device (user.ini).
  sound::SoundSettings sound;
  // The direction announcement mode (user.ini).
  explore::ExploreSettings explore;
  // Walking with the mouse and its sensitivity (user.ini).
  explore::MouseSettings mouse;
  // The bookmark save format (user.ini).
  bookmarks::BookmarkSettings bookmarks;
  // Omitting stops in logs, turning to the direction of travel (user.ini).
  gps::GpsSettings gps;
  // orvela.ini
  ServiceConfig services;
  // The weather service's address and the user's key for it (orvela.ini).
  weather::WeatherSettings weather;

  // user.ini
  bool CHECKAUTOUPDATE = false;
  bool CONFIRMEXIT = true;
  bool SAVESETTINGSREMIND = true;

  // Lines of user.ini this version does not know (name, value), written back
  // on save so that a newer version's settings survive a round trip here.
  std::vector<std::pair<std::string, std::string>> unknown_user_keys;
};

// The symbols of the direction announcement modes, index 0 first.
inline constexpr const char* kUdirModeSymbols[] = {"rc", "ac", "rd", "ad", "cs", "ca"};
inline constexpr int UDIRMODESCOUNT = 6;

// Index of the direction mode with symbol `symbol` (any case); 0 when none.
int INIGETUDIRMODE(std::string_view symbol);
// The integer of `s` between 5 and 100.
int INICHECKVOL(std::string_view s);

// Resets the tuning defaults, then reads `file` when it exists.
void READINI(Settings& s, const std::filesystem::path& file);
// Applies `file` to `s`; false when it cannot be opened (nothing changes).
bool read_user_ini(Settings& s, const std::filesystem::path& file);
// The exact text of user.ini for `s`.
std::string user_ini_text(const Settings& s);
// Writes user.ini atomically; false when it cannot be written.
text::WriteResult write_user_ini(const Settings& s, const std::filesystem::path& file);
// The text of a fresh orvela.ini listing every key with its default.
std::string default_program_ini_text();
// Writes that text to `file` when no such file exists yet; false on failure.
bool create_program_ini_if_missing(const std::filesystem::path& file);

}  // namespace orvela::app
