// The check for a newer program and the web map view.
#include "online/program_update.h"

#include <fmt/format.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>

#include "explore/explorer.h"
#include "map/user.h"
#include "online/online.h"
#include "text/atomic_file.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::online {

using text::_;

std::string version_file_url(std::string_view home_page) {
  const std::string address = ui::web_address(std::string(home_page));
  const std::size_t host = address.find("://") + 3;
  const std::size_t end = address.find_first_of("/?#", host);
  return address.substr(0, end) + "/ver.dat";
}

std::optional<std::string> parse_version_file(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::string lines[2];
  for (std::string& line : lines) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    line = std::string(text::trim_right(text.substr(0, end), "\r"));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  const std::string version(text::trim(lines[1], text::kBlanks));
  if (lines[0] != "orvela" || version.empty()) return std::nullopt;
  return version;
}

double now_days() {
  const std::time_t t = std::time(nullptr);
  std::tm lt{};
  localtime_r(&t, &lt);
  using namespace std::chrono;
  const sys_days day =
      year_month_day{year{lt.tm_year + 1900}, month{static_cast<unsigned>(lt.tm_mon + 1)},
                     std::chrono::day{static_cast<unsigned>(lt.tm_mday)}};
  const sys_days epoch = year{1899} / December / 30;
  return static_cast<double>((day - epoch).count()) +
         (lt.tm_hour * 3600 + lt.tm_min * 60 + lt.tm_sec) / 86400.0;
}

double read_update_dat(const std::filesystem::path& file) {
  std::error_code ec;
  if (std::filesystem::file_size(file, ec) != 8 || ec) return 0;
  std::ifstream in(file, std::ios::binary);
  unsigned char b[8] = {};
  if (!in.read(reinterpret_cast<char*>(b), 8)) return 0;
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
  return std::bit_cast<double>(bits);
}

bool write_update_dat(const std::filesystem::path& file, double days) {
  uint64_t bits = std::bit_cast<uint64_t>(days);
  char b[8];
  for (char& c : b) {
    c = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
  return static_cast<bool>(text::write_file_atomically(file, std::string_view(b, 8)));
}

bool update_check_due(double last, double now) {
  const double minutes = std::trunc(std::fabs(now - last) * 24 * 60);
  return !(minutes < UPDATECHECKINTERVALMIN);
}

std::string ump_www_url(std::string_view viewer, int32_t lat, int32_t lon) {
  std::string base = ui::web_address(std::string(viewer));
  while (base.ends_with('/')) base.pop_back();
  const std::string la = fmt::format("{:.5f}", lat / 1e6);
  const std::string lo = fmt::format("{:.5f}", lon / 1e6);
  return base + "/ump-www/?zoom=10&layers=B00T&lat=" + la + "&lon=" + lo + "&mlat=" + la +
         "&mlon=" + lo;
}

void Online::CHECKPROGRAMUPDATE(bool AUTO) {
  const std::string home = ctx_.addresses.home_page;
  if (home.empty()) {
    // Nobody to ask; the check at start-up keeps quiet about it.
    if (!AUTO) ctx_.ui.WGINFO(no_address_text("home_page"));
    return;
  }
  dl_.WEBOPNAME = _("Downloading program update information");
  dl_.SETWEBERR("");
  fetch_with_dialog(version_file_url(home), _("Progress:"));
  if (!dl_.ISWEBERR() && !dl_.cancelled()) {
    const std::optional<std::string> text = read_downloaded(dl_.TEMPFILE());
    const std::optional<std::string> newest = text ? parse_version_file(*text) : std::nullopt;
    if (!text) {
      dl_.SETWEBERR(_("Can not process update information"));
    } else if (!newest) {
      dl_.SETWEBERR(_("Bad update information format."));
    } else if (*newest != ctx_.version) {
      // Any other version counts as the one to get: the file names the newest.
      const std::string q =
          text::STRTOKENREPLACE(_("Available program version {nv}, your version is {cv}."),
                                {"nv", *newest, "cv", ctx_.version}) +
          "\r" +
          text::STRTOKENREPLACE(
              _("Do you want to open {web} in default browser to download program?"),
              {"web", home});
      if (ctx_.ui.WGTN(q)) ctx_.ui.WGSHELLEXE(ui::web_address(home));
    } else if (!AUTO) {
      ctx_.ui.WGINFO(_("You are using newest version of program."));
    }
  }
  dl_.WEBERRWRI(ctx_.ui);
  dl_.ERASETEMPFILE();
}

void Online::AUTOUPDATECHECK(bool CHECKAUTOUPDATE) {
  if (!CHECKAUTOUPDATE) return;
  const double now = now_days();
  if (!update_check_due(read_update_dat(ctx_.update_dat), now)) return;
  CHECKPROGRAMUPDATE(true);
  UPDALLMAPS(true);
  // A failed write only means that the next start checks again.
  write_update_dat(ctx_.update_dat, now);
}

void Online::UMPWWW() {
  if (ctx_.explorer.CHECKNOMAP()) return;
  const std::string& viewer = ctx_.addresses.web_map_viewer;
  if (viewer.empty()) {
    ctx_.ui.WGINFO(no_address_text("web_map_viewer"));
    return;
  }
  if (!ctx_.ui.WGTN("Wyświetlić bieżący obszar na UMP-www w osobnym oknie przy użyciu domyślnej "
                    "przeglądarki internetowej?"))
    return;
  ctx_.ui.WGSHELLEXE(ump_www_url(viewer, ctx_.user.ULAT, ctx_.user.ULON));
}

}  // namespace orvela::online
