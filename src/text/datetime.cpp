#include "text/datetime.h"

namespace orvela::text {

namespace chr = std::chrono;

namespace {
chr::year_month_day ymd_of(const DateTime& dt) {
  return chr::year{dt.year} / chr::month{static_cast<unsigned>(dt.month)} /
         chr::day{static_cast<unsigned>(dt.day)};
}
}  // namespace

bool DateTime::valid() const {
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
  return ymd_of(*this).ok();
}

chr::sys_seconds DateTime::to_sys() const {
  chr::sys_days d{ymd_of(*this)};
  return chr::sys_seconds{d} + chr::hours{hour} + chr::minutes{minute};
}

DateTime DateTime::from_sys(chr::sys_seconds t) {
  auto days = chr::floor<chr::days>(t);
  chr::year_month_day ymd{days};
  chr::hh_mm_ss hms{t - days};
  return DateTime{static_cast<int>(ymd.year()),
                  static_cast<int>(static_cast<unsigned>(ymd.month())),
                  static_cast<int>(static_cast<unsigned>(ymd.day())),
                  static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count())};
}

int DateTime::weekday() const {
  chr::weekday wd{chr::sys_days{ymd_of(*this)}};
  return static_cast<int>(wd.iso_encoding()) - 1;
}

}  // namespace orvela::text
