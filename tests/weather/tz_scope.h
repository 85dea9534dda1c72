#pragma once
// The process's time zone set for the length of a scope, then put back.
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace orvela::weather::test {

class TzScope {
 public:
  explicit TzScope(const std::string& tz) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    ::setenv("TZ", tz.c_str(), 1);
    ::tzset();
  }
  ~TzScope() {
    if (old_)
      ::setenv("TZ", old_->c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }
  TzScope(const TzScope&) = delete;
  TzScope& operator=(const TzScope&) = delete;

 private:
  std::optional<std::string> old_;
};

// POSIX zone rules, so that no zone database is needed.
inline constexpr const char* kUtc = "UTC0";
inline constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
inline constexpr const char* kUtcMinus5 = "<-05>5";
inline constexpr const char* kUtcPlus10 = "<+10>-10";

}  // namespace orvela::weather::test
