#include "weather/owm.h"

#include <functional>
#include <optional>

#include "text/convert.h"
#include "text/istrm.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "text/utf8.h"
#include "text/xmlparse.h"

namespace orvela::weather {

using text::_;

namespace {

// One pass over a weather document, tag by tag. `wr_` collects the record
// of the current time block; `parent_` is the element ("location" or
// "wind") whose children are being read, since a bare <speed> or <name>
// means something only inside them.
class OwmReader {
 public:
  OwmReader(text::XmlParser& x, FULLWEATHERREC& fw) : x_(x), fw_(fw) {}

  void run() {
    while (x_.res()) {
      const std::string tag = x_.XMLGETNEXTTAG();
      if (tag.empty()) continue;
      element(tag);
    }
  }

 private:
  using AttrFn = std::function<void(const std::string& k, const std::string& w)>;

  void element(const std::string& tag) {
    if (tag == "current") {
      wr_.TYP = WEATHER_CURRENT;
    } else if (tag == "city") {
      attrs([&](const std::string& k, const std::string& w) {
        if (k == "name") fw_.CITYNAME = text::repair_utf8(w);
      });
    } else if (tag == "coord") {
      coords("lat", "lon");
    } else if (tag == "location") {
      coords("latitude", "longitude");
      if (x_.ch() != '/') parent_ = "location";
    } else if (tag == "country") {
      fw_.COUNTRY = element_text();
      return;
    } else if (tag == "name" && parent_ == "location") {
      fw_.CITYNAME = element_text();
      return;
    } else if (tag == "time") {
      time_block();
    } else if (tag == "sun") {
      attrs([&](const std::string& k, const std::string& w) {
        if (k == "rise") text::STRGETISODATETIME(w, fw_.SUNRISE);
        if (k == "set") text::STRGETISODATETIME(w, fw_.SUNSET);
      });
    } else if (tag == "temperature") {
      temperature();
    } else if (tag == "humidity") {
      rounded("value", wr_.HUMIDITY);
    } else if (tag == "pressure") {
      rounded("value", wr_.PRESSURE);
    } else if (tag == "wind") {
      parent_ = "wind";
    } else if (tag == "speed" && parent_ == "wind") {
      real("value", wr_.WINDSPEED);
    } else if (tag == "direction" && parent_ == "wind") {
      rounded("value", wr_.WINDDIRECTION);
    } else if (tag == "winddirection") {
      rounded("deg", wr_.WINDDIRECTION);
    } else if (tag == "windspeed") {
      real("mps", wr_.WINDSPEED);
    } else if (!parent_.empty() && tag == "/" + parent_) {
      parent_.clear();
    } else if (tag == "clouds") {
      clouds();
    } else if (tag == "precipitation") {
      precipitation();
    } else if (tag == "lastupdate") {
      attrs([&](const std::string& k, const std::string& w) {
        if (k == "value") text::STRGETISODATETIME(w, wr_.LASTUPDATE);
      });
    } else if (tag == "/current") {
      fw_.WEATHARR.assign(1, wr_);
    } else if (tag == "/time") {
      fw_.WEATHARR.push_back(wr_);
      wr_ = WEATHERREC{};
    }
    x_.XMLSEARCHTAGEND();
  }

  // Every attribute of the tag, in order.
  void attrs(const AttrFn& fn) {
    std::string k, w;
    while (x_.XMLGETNEXTTAGPAR(k, w)) fn(k, w);
  }
  void coords(const char* lat, const char* lon) {
    attrs([&](const std::string& k, const std::string& w) {
      if (k == lat) text::STRGETCOORD(w, fw_.CITYLAT);
      if (k == lon) text::STRGETCOORD(w, fw_.CITYLON);
    });
  }
  void rounded(const char* name, int32_t& field) {
    attrs([&](const std::string& k, const std::string& w) {
      if (k == name) text::STRGETREALROUND(w, field);
    });
  }
  void real(const char* name, double& field) {
    attrs([&](const std::string& k, const std::string& w) {
      if (k == name) text::STRGETREAL(w, field);
    });
  }

  void time_block() {
    attrs([&](const std::string& k, const std::string& w) {
      if (k == "from") {
        wr_.TYP = WEATHER_HOURLYFORECAST;
        text::STRGETISODATETIME(w, wr_.FROMTIME);
      } else if (k == "to") {
        text::STRGETISODATETIME(w, wr_.TOTIME);
      } else if (k == "day") {
        wr_.TYP = WEATHER_DAILYFORECAST;
        text::STRGETISODATE(w, wr_.DAY);
      }
    });
  }

  void temperature() {
    const bool daily = wr_.TYP == WEATHER_DAILYFORECAST;
    attrs([&](const std::string& k, const std::string& w) {
      if (k == "value") text::STRGETREAL(w, wr_.TEMPERATURE);
      if (!daily) return;
      if (k == "day") text::STRGETREAL(w, wr_.TEMPERATURE_DAY);
      if (k == "night") text::STRGETREAL(w, wr_.TEMPERATURE_NIGHT);
      if (k == "morn") text::STRGETREAL(w, wr_.TEMPERATURE_MORNING);
      if (k == "eve") text::STRGETREAL(w, wr_.TEMPERATURE_EVENING);
    });
  }

  // Forecasts give the cover in "all" (their "value" is a description);
  // the current weather gives it in "value" alone.
  void clouds() {
    std::optional<int32_t> all, value;
    attrs([&](const std::string& k, const std::string& w) {
      int32_t v = 0;
      if (k == "all" && text::STRGETREALROUND(w, v)) all = v;
      if (k == "value" && text::STRGETREALROUND(w, v)) value = v;
    });
    if (all)
      wr_.CLOUDS = *all;
    else if (value)
      wr_.CLOUDS = *value;
  }

  // Forecasts name the kind in "type", the current weather in "mode" (which
  // is "no" on a dry day).
  void precipitation() {
    int32_t value = 0;
    std::optional<std::string> type, mode;
    attrs([&](const std::string& k, const std::string& w) {
      if (k == "value") text::STRGETREALROUND(w, value);
      if (k == "type") type = w;
      if (k == "mode") mode = w;
    });
    const std::string kind = type ? *type : mode.value_or("");
    if (kind == "rain") wr_.RAIN = value;
    if (kind == "snow") wr_.SNOW = value;
  }

  // The text between this tag and the next, entities decoded, blanks
  // folded; empty for a tag that closes itself.
  std::string element_text() {
    const bool empty_element = x_.ch() == '/';
    x_.XMLSEARCHTAGEND();
    if (empty_element) return {};
    std::string raw;
    x_.set_copy_text(&raw);
    x_.XMLSEARCHNEXTTAG();
    x_.set_copy_text(nullptr);
    std::string s;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const std::size_t semi = raw[i] == '&' ? raw.find(';', i) : std::string::npos;
      if (semi == std::string::npos || semi - i > text::XmlParser::kMaxEntityLen) {
        const char c = raw[i];
        s += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
        continue;
      }
      s += text::XMLENTITYCONV(std::string_view(raw).substr(i + 1, semi - i - 1));
      i = semi;
    }
    return text::repair_utf8(text::trim(text::DELDBLSPC(s), " "));
  }

  text::XmlParser& x_;
  FULLWEATHERREC& fw_;
  WEATHERREC wr_;
  std::string parent_;
};

}  // namespace

LastError OWMPROCFILE(const std::filesystem::path& FN, FULLWEATHERREC& FWP) {
  text::XmlParser x;
  if (x.XMLOPEN(FN) != 0) return {1, _("error opening file") + " " + FN.string()};
  try {
    OwmReader(x, FWP).run();
  } catch (const text::IoError&) {
    // A reply that looks packed but is not, or a file that stops being
    // readable: whatever was read may be cut anywhere, so none of it is
    // weather.
    FWP.WEATHARR.clear();
  }
  x.XMLCLOSE();
  return {};
}

}  // namespace orvela::weather
