#include "ui/menu.h"

namespace orvela::ui {

namespace {
template <class Pred>
const MenuItem* find_in(const std::vector<MenuItem>& items, Pred pred) {
  for (const MenuItem& it : items) {
    if (!it.is_popup() && pred(it)) return &it;
    if (const MenuItem* found = find_in(it.children, pred)) return found;
  }
  return nullptr;
}
}  // namespace

const MenuItem* MenuBar::find(int id) const {
  return find_in(menus, [id](const MenuItem& it) { return it.id == id; });
}

const MenuItem* MenuBar::find(const std::string& name) const {
  return find_in(menus, [&name](const MenuItem& it) { return it.name == name; });
}

int MenuBar::command_for(const Accel& a) const {
  for (const AccelEntry& e : accels)
    if (e.accel == a) return e.cmd;
  return 0;
}

std::vector<MenuItem>& MenuBuilder::current() {
  std::vector<MenuItem>* items = &bar_.menus;
  for (std::size_t i : path_) items = &(*items)[i].children;
  return *items;
}

void MenuBuilder::MKMENU_START() {
  bar_ = MenuBar{};
  path_.clear();
}

void MenuBuilder::MKMENU_POPUP(const std::string& title) {
  std::vector<MenuItem>& items = current();
  MenuItem popup;
  popup.text = title;
  items.push_back(std::move(popup));
  path_.push_back(items.size() - 1);
}

void MenuBuilder::MKMENU_ADD(int id, const std::string& name, const std::string& text,
                             const std::string& key_text, std::optional<Accel> accel) {
  MenuItem item;
  item.id = id;
  item.name = name;
  item.text = text;
  item.key_text = key_text.empty() && accel ? accel_text(*accel) : key_text;
  item.accel = accel;
  current().push_back(std::move(item));
  if (accel) MKACCEL_ADD(*accel, id);
}

void MenuBuilder::MKMENU_ADDCHECK(int id, const std::string& name, const std::string& text,
                                  const std::string& key_text, std::optional<Accel> accel) {
  MKMENU_ADD(id, name, text, key_text, accel);
  current().back().checkable = true;
}

void MenuBuilder::MKMENU_ENDPOPUP() {
  if (!path_.empty()) path_.pop_back();
}

void MenuBuilder::MKACCEL_START() { bar_.accels.clear(); }

void MenuBuilder::MKACCEL_ADD(const Accel& a, int cmd) {
  // A later binding of the same key replaces the earlier one, as a key can
  // only ever run one command.
  for (AccelEntry& e : bar_.accels)
    if (e.accel == a) {
      e.cmd = cmd;
      return;
    }
  bar_.accels.push_back({a, cmd});
}

MenuBar MenuBuilder::MKMENU_END() {
  path_.clear();
  return bar_;
}

}  // namespace orvela::ui
