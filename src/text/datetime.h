#pragma once
// A calendar date and time of day to the minute, as read from ISO texts in
// weather documents and written back in reports. No time zone: the reader
// keeps whatever clock the document used.
#include <chrono>
#include <compare>

namespace orvela::text {

struct DateTime {
  int year = 1970;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59

  auto operator<=>(const DateTime&) const = default;

  // True when the fields name a real date and time of day.
  bool valid() const;
  // The same moment on the system clock, reading the fields as UTC.
  std::chrono::sys_seconds to_sys() const;
  static DateTime from_sys(std::chrono::sys_seconds t);
  // Monday = 0 .. Sunday = 6, the order of the weekday names.
  int weekday() const;
};

}  // namespace orvela::text
