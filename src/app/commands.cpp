#include "app/commands.h"

#include <optional>

#include "text/translate.h"

namespace orvela::app {

namespace {

using ui::Accel;
using ui::Key;
using ui::MOD_ALT;
using ui::MOD_CTRL;
using ui::MOD_NONE;
using ui::MOD_SHIFT;

enum class Row { Popup, Item, End };
// How the menu text is shown: translated, or a fixed Polish text that exists
// only with the Polish catalogue.
enum class Lang { Any, PolishOnly };

struct MenuRow {
  Row row;
  int id;
  const char* name;
  const char* text;
  // Empty: the accelerator's own text. Words are translated, key names not.
  const char* key_text;
  bool key_text_is_word;
  std::optional<Accel> accel;
  Lang lang = Lang::Any;
};

constexpr Accel k(Key key, unsigned mods = MOD_NONE) { return Accel{mods, key, 0}; }
constexpr Accel c(char ch, unsigned mods = MOD_NONE) { return Accel{mods, Key::Char, ch}; }

MenuRow popup(const char* title, Lang lang = Lang::Any) {
  return {Row::Popup, 0, "", title, "", false, std::nullopt, lang};
}
MenuRow end(Lang lang = Lang::Any) { return {Row::End, 0, "", "", "", false, std::nullopt, lang}; }
MenuRow item(int id, const char* name, const char* text,
             std::optional<Accel> accel = std::nullopt) {
  return {Row::Item, id, name, text, "", false, accel, Lang::Any};
}
MenuRow worded(int id, const char* name, const char* text, const char* key_text, Accel accel) {
  return {Row::Item, id, name, text, key_text, true, accel, Lang::Any};
}
MenuRow keyed(int id, const char* name, const char* text, const char* key_text, Accel accel) {
  return {Row::Item, id, name, text, key_text, false, accel, Lang::Any};
}
MenuRow pl(int id, const char* name, const char* text, std::optional<Accel> accel = std::nullopt) {
  return {Row::Item, id, name, text, "", false, accel, Lang::PolishOnly};
}

#define ID(x) x, #x

const std::vector<MenuRow>& menu_rows() {
  static const std::vector<MenuRow> rows = {
      popup("&Map"),
      item(ID(IDM_FILEOPEN), "&Open...", c('O', MOD_CTRL)),
      item(ID(IDM_MAPREFRESH), "Refresh", c('R', MOD_CTRL)),
      item(ID(IDM_SELSTARTPOINT), "Select start point...", c('T', MOD_CTRL)),
      popup("Po&bierz i zainstaluj mapę", Lang::PolishOnly),
      pl(ID(IDM_INSTALLMAP), "&Podstawowy serwer..."),
      pl(ID(IDM_INSTALLMAP2), "&zapasowy serwer..."),
      end(Lang::PolishOnly),
      popup("&Import OpenStreetMap"),
      item(ID(IDM_OSMIMPORTFILE), "From OSM XML &file..."),
      item(ID(IDM_OSMIMPORTSERVER), "From &server..."),
      end(),
      item(ID(IDM_DELMAP), "&Delete map..."),
      pl(ID(IDM_UPDMAP), "&Aktualizuj otwartą mapę", k(Key::F5, MOD_CTRL)),
      pl(ID(IDM_UPDALLMAPS), "&Aktualizuj moje mapy..."),
      pl(ID(IDM_MAPHISTORY), "&Historia otwartej mapy..."),
      pl(ID(IDM_UMPWWW), "&Wyświetl na UMP-www...", k(Key::Enter, MOD_CTRL)),
      item(ID(IDM_AREASTATS), "Loaded area s&tatistics..."),
      item(ID(IDM_READSTARTPOS), "&Load starting position", c('P', MOD_CTRL)),
      item(ID(IDM_SAVESTARTPOS), "Sa&ve starting position"),
      // Alt+F4 is the system's own key; the item only shows it.
      {Row::Item, ID(IDM_CLOSE), "&Quit", "alt+f4", false, std::nullopt},
      end(),

      popup("&Navigation"),
      worded(ID(IDM_GOFORWARD), "Go forward", "Up arrow", k(Key::Up)),
      worded(ID(IDM_GOBACK), "Go back", "Down arrow", k(Key::Down)),
      worded(ID(IDM_GOLEFT), "Go left", "Left arrow", k(Key::Left)),
      worded(ID(IDM_GORIGHT), "Go right", "Right arrow", k(Key::Right)),
      worded(ID(IDM_TURNLEFT), "Turn left by 15 degrees", "Shift+Left arrow",
             k(Key::Left, MOD_SHIFT)),
      worded(ID(IDM_TURNRIGHT), "Turn right by 15 degrees", "Shift+Right arrow",
             k(Key::Right, MOD_SHIFT)),
      worded(ID(IDM_TURN90LEFT), "Turn left by 90 degrees", "Ctrl+Left arrow",
             k(Key::Left, MOD_CTRL)),
      worded(ID(IDM_TURN90RIGHT), "Turn right by 90 degrees", "Ctrl+Right arrow",
             k(Key::Right, MOD_CTRL)),
      worded(ID(IDM_TURN180), "Turn by 180 degrees", "Ctrl+Down arrow", k(Key::Down, MOD_CTRL)),
      worded(ID(IDM_TURNNORTH), "Turn north", "Ctrl+Up arrow", k(Key::Up, MOD_CTRL)),
      keyed(ID(IDM_INCSQMETERS), "Increase square size", "Ctrl+PGUP", k(Key::PageUp, MOD_CTRL)),
      keyed(ID(IDM_DECSQMETERS), "Decrease square size", "Ctrl+PGDN", k(Key::PageDown, MOD_CTRL)),
      keyed(ID(IDM_MAXSQMETERS), "Maximum square size", "Ctrl+Shift+PGUP",
            k(Key::PageUp, MOD_CTRL | MOD_SHIFT)),
      keyed(ID(IDM_MINSQMETERS), "Minimum square size", "Ctrl+Shift+PGDN",
            k(Key::PageDown, MOD_CTRL | MOD_SHIFT)),
      item(ID(IDM_GOTOCORDS), "&Go to coordinates...", c('G', MOD_CTRL)),
      item(ID(IDM_GOTOQTHLOC), "Go to &QTH location...", c('Q', MOD_CTRL)),
      item(ID(IDM_USEMOUSE), "Use mouse", c('Y', MOD_CTRL)),
      item(ID(IDM_SETUPMOUSE), "Change mouse &sensitivity...", c('Y', MOD_SHIFT)),
      item(ID(IDM_ENTERMOUSEFACTOR), "Enter mouse s&ensivity...", c('Y', MOD_CTRL | MOD_SHIFT)),
      end(),

      popup("&Area"),
      item(ID(IDM_AREAPOINTS), "&Points in area...", c('P')),
      item(ID(IDM_AREANODES), "&Intersections in area...", c('K')),
      item(ID(IDM_AREAADR), "&Addresses in area...", c('I')),
      item(ID(IDM_AREALINES), "&Lines in area...", c('L')),
      item(ID(IDM_AREAPOLYG), "&Polygons in area...", c('O')),
      item(ID(IDM_AREAALL), "&Everything in area...", c('J')),
      end(),

      popup("&Bookmarks"),
      item(ID(IDM_BOOKMARKEDIT), "&Add/edit bookmark...", k(Key::Enter)),
      item(ID(IDM_BOOKMARKGOTO), "&Go to bookmark...", c('U')),
      item(ID(IDM_BOOKMARKMOVE), "&Move bookmark...", c('U', MOD_CTRL)),
      item(ID(IDM_BOOKMARKSORTNUM), "&Sort bookmarks numerically...", c('U', MOD_SHIFT)),
      item(ID(IDM_BOOKMARKDISTANCESUM), "Bookmarks distance &sum", c('M')),
      item(ID(IDM_BOOKMARKRENUMBER), "Re&number bookmarks...", c('N', MOD_SHIFT)),
      item(ID(IDM_BOOKMARKDEL), "&Delete bookmark", k(Key::Delete)),
      item(ID(IDM_BOOKMARKDELALL), "Delete &all bookmarks", k(Key::Delete, MOD_CTRL)),
      item(ID(IDM_BOOKMARKLOAD), "&L&oad bookmarks...", c('L', MOD_CTRL)),
      item(ID(IDM_BOOKMARKSAVE), "&Save bookmarks", c('S', MOD_CTRL)),
      item(ID(IDM_BOOKMARKSAVEAS), "Save bookmarks &as..."),
      item(ID(IDM_BOOKMARKCLIPCPY), "&Copy file to clipboard", c('C', MOD_CTRL)),
      item(ID(IDM_BOOKMARKOPENFOLDER), "Open &folder", c('E', MOD_CTRL)),
      end(),

      popup("&Sound"),
      item(ID(IDM_VOLUP), "&Increase volume", k(Key::PageUp)),
      item(ID(IDM_VOLDOWN), "&Decrease volume", k(Key::PageDown)),
      item(ID(IDM_MUTE), "&Mute", k(Key::Space, MOD_CTRL)),
      item(ID(IDM_TESTLEFT), "Which &left speaker", c('K', MOD_CTRL)),
      item(ID(IDM_CHANGESPEAKERS), "e&xchange channels", c('I', MOD_CTRL)),
      item(ID(IDM_MONO), "Mono mode", c('M', MOD_CTRL)),
      item(ID(IDM_SOUNDBEHINDLOWER), "Sounds behind lower"),
      item(ID(IDM_SOUNDHRTFMODE), "&HRTF mode"),
      item(ID(IDM_SOUNDPRESENTATION), "&All sounds presentation..."),
      item(ID(IDM_SELECTSOUNDDEVICE), "Switch sound card..."),
      end(),

      popup("&Say"),
      item(ID(IDM_SAYTYPE), "Current object type", k(Key::Space)),
      item(ID(IDM_SAYDIRECTION), "&Current object direction", c('/')),
      item(ID(IDM_SAYUDIR), "&User direction", c('.')),
      item(ID(IDM_SAYILEV), "&One square size", c(',')),
      item(ID(IDM_SAYHLEVEL), "Current height level", c('H')),
      item(ID(IDM_SHOWLASTSAY), "&Display last spoken message", c(';')),
      item(ID(IDM_SAYTAGS), "Say object tags", c('T')),
      item(ID(IDM_SHOWTAGS), "Show object tags...", c('T', MOD_SHIFT)),
      item(ID(IDM_SAYID), "Object ID", c('I', MOD_SHIFT)),
      item(ID(IDM_GPSSAYTIME), "GPS &time", c('C')),
      item(ID(IDM_GPSSAYSAT), "GPS &satellites", c('S')),
      item(ID(IDM_GPSSAYHDOP), "GPS &Accuracy", c('D')),
      end(),

      popup("&Gps"),
      item(ID(IDM_GPSLOGOPEN), "&Open log..."),
      item(ID(IDM_GPSOPEN), "&Connect device..."),
      item(ID(IDM_GPSPLAYPAUSE), "Play / pause", k(Key::Space, MOD_SHIFT)),
      popup("&Log rewind"),
      item(ID(IDM_GPSGOBACK1), "10 seconds back", k(Key::Left, MOD_ALT)),
      item(ID(IDM_GPSGOFORWARD1), "10 seconds forward", k(Key::Right, MOD_ALT)),
      item(ID(IDM_GPSGOBACK2), "Minute back", k(Key::PageUp, MOD_ALT)),
      item(ID(IDM_GPSGOFORWARD2), "Minute forward", k(Key::PageDown, MOD_ALT)),
      item(ID(IDM_GPSGOTOHOME), "To begin", k(Key::Home, MOD_ALT)),
      item(ID(IDM_GPSGOTOEND), "To end", k(Key::End, MOD_ALT)),
      end(),
      item(ID(IDM_NMEADISCONNECT), "Close / disconnect"),
      end(),

      popup("&Settings"),
      item(ID(IDM_SAVEUSERINI), "&Save user settings"),
      item(ID(IDM_READUSERINI), "&Load user settings"),
      item(ID(IDM_AUTOUPDATECHECK), "Automatic update check at startup"),
      item(ID(IDM_CONFIRMEXIT), "Confirm program exit"),
      item(ID(IDM_SAVESETTINGSREMIND), "&Settings save reminder"),
      item(ID(IDM_SELECTBOOKMARKSAVEFORMAT), "Bookmarks save &format..."),
      item(ID(IDM_SELECTUDIRMODE), "Direction announcement...", c('.', MOD_CTRL)),
      item(ID(IDM_NMEALOG_OMITSTOPS), "Omit stops in NMEA log"),
      item(ID(IDM_GPS_AUTOUDIRCHANGE), "Automatic direction change in GPS mode"),
      end(),

      popup("&Weather"),
      item(ID(IDM_WEATHERCURRENT), "&Current...", c('W')),
      item(ID(IDM_WEATHERHOURLY), "&Hourly forecast for 5 days", c('W', MOD_CTRL)),
      item(ID(IDM_WEATHERDAILY), "&Daily forecast for 15 days", c('W', MOD_SHIFT)),
      end(),

      popup("&Help"),
      item(ID(IDM_HELPMANUAL), "&User manual", k(Key::F1)),
      item(ID(IDM_HELPABOUT), "Orvela - &informations..."),
      item(ID(IDM_CHECKPROGRAMUPDATE), "Check program &update..."),
      item(ID(IDM_HELPWWW), "&Home page"),
      item(ID(IDM_HELPMAIL), "&Mail to author"),
      end(),
  };
  return rows;
}

#undef ID

// Items that show a check mark for a switch.
bool is_switch(int id) {
  switch (id) {
    case IDM_MUTE:
    case IDM_MONO:
    case IDM_CHANGESPEAKERS:
    case IDM_SOUNDBEHINDLOWER:
    case IDM_SOUNDHRTFMODE:
    case IDM_USEMOUSE:
    case IDM_AUTOUPDATECHECK:
    case IDM_CONFIRMEXIT:
    case IDM_SAVESETTINGSREMIND:
    case IDM_NMEALOG_OMITSTOPS:
    case IDM_GPS_AUTOUDIRCHANGE:
      return true;
    default:
      return false;
  }
}

}  // namespace

ui::MenuBar BUILDMAINMENU(const std::string& lang) {
  const bool polish = lang == "pl";
  ui::MenuBuilder b;
  b.MKMENU_START();
  b.MKACCEL_START();
  for (const MenuRow& r : menu_rows()) {
    if (r.lang == Lang::PolishOnly && !polish) continue;
    // The Polish items are fixed texts, shown as they stand.
    auto shown = [&](const char* s) {
      return r.lang == Lang::PolishOnly ? std::string(s) : text::_(s);
    };
    switch (r.row) {
      case Row::Popup:
        b.MKMENU_POPUP(shown(r.text));
        break;
      case Row::End:
        b.MKMENU_ENDPOPUP();
        break;
      case Row::Item: {
        std::string key_text = r.key_text_is_word ? text::_(r.key_text) : std::string(r.key_text);
        if (is_switch(r.id))
          b.MKMENU_ADDCHECK(r.id, r.name, shown(r.text), key_text, r.accel);
        else
          b.MKMENU_ADD(r.id, r.name, shown(r.text), key_text, r.accel);
        break;
      }
    }
  }
  return b.MKMENU_END();
}

}  // namespace orvela::app
