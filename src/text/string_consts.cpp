#include "text/string_consts.h"

#include "text/convert.h"
#include "text/translate.h"

namespace orvela::text {

namespace {

std::vector<UDIRMODEREC> udir_modes() {
  return {
      {_("Clock face relative to user direction"), "rc", UDIRMODETYP_CLOCK, true},
      {_("Clock face relative to the north"), "ac", UDIRMODETYP_CLOCK, false},
      {_("Degrees relative to user direction"), "rd", UDIRMODETYP_DEGREES, true},
      {_("Degrees relative to the north"), "ad", UDIRMODETYP_DEGREES, false},
      {_("Simple compass (8 directions)"), "cs", UDIRMODETYP_SIMPLECOMPASS, false},
      {_("Advanced compass (32 directions)"), "ca", UDIRMODETYP_ADVANCEDCOMPASS, false},
  };
}

std::vector<std::string> compass_names() {
  return {
      _("North "),     _("North by east "),      _("North-northeast "), _("Northeast by north "),
      _("Northeast "), _("Northeast by east "),  _("East-northeast "),  _("East by north "),
      _("East "),      _("East by south "),      _("East-southeast "),  _("Southeast by east "),
      _("Southeast "), _("Southeast by south "), _("South-southeast "), _("South by east "),
      _("South "),     _("South by west "),      _("South-southwest "), _("Southwest by south "),
      _("Southwest "), _("Southwest by west "),  _("West-southwest "),  _("West by south "),
      _("West "),      _("West by north "),      _("West-northwest "),  _("Northwest by west "),
      _("Northwest "), _("Northwest by north "), _("North-northwest "), _("North by west ")};
}

std::vector<std::string> weekday_names() {
  // Saturday and Sunday are written in lower case in the English texts, and
  // translations already key on them that way.
  return {_("Monday"), _("Tuesday"),  _("Wednesday"), _("Thursday"),
          _("Friday"), _("saturday"), _("sunday")};
}

}  // namespace

std::string FileTypeFilter::joined() const {
  std::string s = description;
  s += '\0';
  s += pattern;
  s += '\0';
  return s;
}

std::vector<std::string> FileTypeFilter::patterns() const { return SPLITSTR(pattern, ';'); }

void SETSTRARR(std::vector<std::string>& a, const std::vector<std::string>& b) {
  a.resize(b.size());
  for (std::size_t i = 0; i < b.size(); ++i) a[i] = b[i];
}

void StringConsts::STRINGCONSTINIT() {
  WGINFOTITLE = _("Info");
  WGQUESTIONTITLE = _("Question");
  DEFBOOKMARKNAME = _("Point");
  BOOKMARK_FTYPEWRI_LSCP = {_("Loadstone Checkpoints file *.lscp"), "*.lscp"};
  BOOKMARK_FTYPEWRI_LSDB = {_("Loadstone database text file *.lsdbtxt"), "*.lsdbtxt"};
  BOOKMARK_FTYPEREADSPEC = {
      _("Loadstone checkpoints or database text files *.lscp, *.txt, *.lsdbtxt"),
      "*.lscp;*.txt;*.lsdbtxt"};
  FTYPEOPENNMEALOG = {_("NMEA log file *.*"), "*.*"};
  UDIRMODES = udir_modes();
  SETSTRARR(COMPASSDIRNAMES, compass_names());
  SETSTRARR(WEEKDAYNAMES, weekday_names());
}

}  // namespace orvela::text
