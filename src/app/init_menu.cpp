#include "app/init_menu.h"

#include <initializer_list>

#include "app/commands.h"

namespace orvela::app {

void MNUENABLEIF(ui::Ui& ui, int id, bool cond) { cond ? ui.WGMNUEN(id) : ui.WGMNUDIS(id); }
void MNUCHECKIF(ui::Ui& ui, int id, bool cond) { cond ? ui.WGMNUCHK(id) : ui.WGMNUUNCHK(id); }

namespace {

void enable_all(ui::Ui& ui, std::initializer_list<int> ids, bool cond) {
  for (int id : ids) MNUENABLEIF(ui, id, cond);
}

}  // namespace

void INITMENU(ui::Ui& ui, bool ISMAPOPENED, bool ULATLONSET, const ShellState& st,
              const Settings& s) {
  enable_all(ui, {IDM_SELSTARTPOINT, IDM_UPDMAP}, ISMAPOPENED);
  enable_all(
      ui,
      {IDM_UMPWWW, IDM_SAVESTARTPOS, IDM_AREAPOINTS, IDM_AREANODES, IDM_AREALINES, IDM_AREAPOLYG,
       IDM_AREAALL, IDM_AREAADR, IDM_WEATHERCURRENT, IDM_WEATHERHOURLY, IDM_WEATHERDAILY},
      ULATLONSET);
  MNUCHECKIF(ui, IDM_MUTE, s.SOUNDMUTED);
  MNUCHECKIF(ui, IDM_MONO, s.SOUNDMONO);
  MNUCHECKIF(ui, IDM_CHANGESPEAKERS, s.SOUNDSPEAKERSCHANGED);
  MNUCHECKIF(ui, IDM_SOUNDBEHINDLOWER, s.SOUNDBEHINDLOWER);
  MNUCHECKIF(ui, IDM_SOUNDHRTFMODE, s.SOUNDHRTFMODE);
  enable_all(ui, {IDM_SETUPMOUSE, IDM_ENTERMOUSEFACTOR}, s.USEMOUSE);
  MNUCHECKIF(ui, IDM_USEMOUSE, s.USEMOUSE);
  MNUCHECKIF(ui, IDM_AUTOUPDATECHECK, s.CHECKAUTOUPDATE);
  MNUCHECKIF(ui, IDM_CONFIRMEXIT, s.CONFIRMEXIT);
  MNUCHECKIF(ui, IDM_SAVESETTINGSREMIND, s.SAVESETTINGSREMIND);
  MNUCHECKIF(ui, IDM_NMEALOG_OMITSTOPS, s.NMEALOG_OMITSTOPS);
  MNUCHECKIF(ui, IDM_GPS_AUTOUDIRCHANGE, s.GPS_AUTOUDIRCHANGE);
  enable_all(ui, {IDM_SHOWTAGS, IDM_SAYTAGS}, st.CUROBJHASTAGS);
  const bool gps_active = st.NMEAMODE != NMEAMODE_NONE;
  enable_all(ui,
             {IDM_GPSSAYTIME, IDM_GPSSAYSAT, IDM_GPSSAYHDOP, IDM_GPSPLAYPAUSE, IDM_NMEADISCONNECT},
             gps_active);
  enable_all(ui, {IDM_GPSLOGOPEN, IDM_GPSOPEN}, !gps_active);
  enable_all(ui,
             {IDM_GPSGOBACK1, IDM_GPSGOFORWARD1, IDM_GPSGOBACK2, IDM_GPSGOFORWARD2, IDM_GPSGOTOHOME,
              IDM_GPSGOTOEND},
             st.NMEAMODE == NMEAMODE_LOG);
  enable_all(ui, {IDM_BOOKMARKCLIPCPY, IDM_BOOKMARKOPENFOLDER}, !st.LASTBOOKMARKSFN.empty());
}

}  // namespace orvela::app
