#include "app/commands.h"

#include <algorithm>
#include <optional>
#include <variant>
#include <vector>

#include "text/translate.h"

namespace orvela::app {

namespace {

using text::N_;
using ui::Menu;

// Where each menu stands: the top-level menus in the order of the menu bar,
// the submenus inside their parent among its items.
struct MenuPlace {
  Menu menu;
  std::optional<Menu> parent;
  int order;  // among the parent's items
  const char* title;
  bool polish_only = false;
};

// clang-format off
const MenuPlace kMenus[] = {
    {Menu::Map, std::nullopt, 0, N_("&Map")},
    {Menu::MapInstall, Menu::Map, 40, "Po&bierz i zainstaluj mapę", true},
    {Menu::MapImport, Menu::Map, 50, N_("&Import OpenStreetMap")},
    {Menu::Navigation, std::nullopt, 0, N_("&Navigation")},
    {Menu::Area, std::nullopt, 0, N_("&Area")},
    {Menu::Bookmarks, std::nullopt, 0, N_("&Bookmarks")},
    {Menu::Sound, std::nullopt, 0, N_("&Sound")},
    {Menu::Say, std::nullopt, 0, N_("&Say")},
    {Menu::Gps, std::nullopt, 0, N_("&Gps")},
    {Menu::GpsRewind, Menu::Gps, 40, N_("&Log rewind")},
    {Menu::Settings, std::nullopt, 0, N_("&Settings")},
    {Menu::Weather, std::nullopt, 0, N_("&Weather")},
    {Menu::Help, std::nullopt, 0, N_("&Help")},
};
// clang-format on

// One entry of a menu: a command or a submenu, at its place.
using Entry = std::variant<const ui::Command*, const MenuPlace*>;

int order_of(const Entry& e) {
  return std::visit([](const auto* p) { return p->order; }, e);
}

class Builder {
 public:
  Builder(const ui::Commands& commands, bool polish) : commands_(commands), polish_(polish) {}

  ui::MenuBar build() {
    b_.MKMENU_START();
    b_.MKACCEL_START();
    for (const MenuPlace& m : kMenus)
      if (!m.parent) add_menu(m);
    return b_.MKMENU_END();
  }

 private:
  void add_menu(const MenuPlace& m) {
    b_.MKMENU_POPUP(m.polish_only ? std::string(m.title) : text::_(m.title));
    for (const Entry& e : entries_of(m.menu)) {
      if (const auto* sub = std::get_if<const MenuPlace*>(&e))
        add_menu(**sub);
      else
        add_item(*std::get<const ui::Command*>(e));
    }
    b_.MKMENU_ENDPOPUP();
  }

  std::vector<Entry> entries_of(Menu menu) const {
    std::vector<Entry> entries;
    for (const ui::Command& c : commands_.all())
      if (c.menu == menu && shown(c.polish_only)) entries.emplace_back(&c);
    for (const MenuPlace& m : kMenus)
      if (m.parent == menu && shown(m.polish_only)) entries.emplace_back(&m);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return order_of(a) < order_of(b); });
    return entries;
  }

  void add_item(const ui::Command& c) {
    // The Polish-only items are fixed texts, shown as they stand.
    const std::string text = c.polish_only ? std::string(c.text) : text::_(c.text);
    const std::string key_text = c.key_text_is_word ? text::_(c.key_text) : c.key_text;
    if (c.checked)
      b_.MKMENU_ADDCHECK(c.id, c.name, text, key_text, c.key);
    else
      b_.MKMENU_ADD(c.id, c.name, text, key_text, c.key);
  }

  bool shown(bool polish_only) const { return polish_ || !polish_only; }

  const ui::Commands& commands_;
  const bool polish_;
  ui::MenuBuilder b_;
};

}  // namespace

ui::MenuBar BUILDMAINMENU(const ui::Commands& commands, const std::string& lang) {
  return Builder(commands, lang == "pl").build();
}

}  // namespace orvela::app
