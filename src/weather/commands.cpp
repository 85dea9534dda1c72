#include "weather/commands.h"

#include "text/translate.h"
#include "weather/weather.h"

namespace orvela::weather {

using text::N_;
using ui::Menu;
using ui::MOD_CTRL;
using ui::MOD_SHIFT;

void add_commands(ui::Commands& c, Weather& w) {
  auto position_known = [&w] { return w.position_known(); };
  // clang-format off
  c.add({.id = 810, .name = "IDM_WEATHERCURRENT", .menu = Menu::Weather, .order = 10,
         .text = N_("&Current..."), .key = ui::key('W'),
         .run = [&w] { w.GETWEATHER(WEATHER_CURRENT); }, .enabled = position_known});
  c.add({.id = 820, .name = "IDM_WEATHERHOURLY", .menu = Menu::Weather, .order = 20,
         .text = N_("&Hourly forecast for 5 days"), .key = ui::key('W', MOD_CTRL),
         .run = [&w] { w.GETWEATHER(WEATHER_HOURLYFORECAST); }, .enabled = position_known});
  c.add({.id = 830, .name = "IDM_WEATHERDAILY", .menu = Menu::Weather, .order = 30,
         .text = N_("&Daily forecast for 15 days"), .key = ui::key('W', MOD_SHIFT),
         .run = [&w] { w.GETWEATHER(WEATHER_DAILYFORECAST); }, .enabled = position_known});
  // clang-format on
}

}  // namespace orvela::weather
