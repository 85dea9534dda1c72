#include "ui/command.h"

#include <algorithm>
#include <stdexcept>

#include "ui/ui.h"

namespace orvela::ui {

void Commands::add(Command c) {
  for (const Command& r : rows_) {
    if (r.id == c.id || std::string_view(r.name) == c.name)
      throw std::logic_error(std::string("command added twice: ") + c.name);
    if (c.key && r.key == c.key)
      throw std::logic_error(std::string("one key for two commands: ") + r.name + ", " + c.name);
  }
  rows_.push_back(std::move(c));
}

const Command* Commands::find(int id) const {
  auto it = std::find_if(rows_.begin(), rows_.end(), [id](const Command& c) { return c.id == id; });
  return it == rows_.end() ? nullptr : &*it;
}

const Command* Commands::find(std::string_view name) const {
  auto it =
      std::find_if(rows_.begin(), rows_.end(), [name](const Command& c) { return c.name == name; });
  return it == rows_.end() ? nullptr : &*it;
}

int Commands::id_of(std::string_view name) const {
  const Command* c = find(name);
  return c ? c->id : 0;
}

bool Commands::run(int id) const {
  const Command* c = find(id);
  if (!c) return false;
  if (c->run) c->run();
  return true;
}

void Commands::init_menu(Ui& ui) const {
  for (const Command& c : rows_) {
    if (c.enabled) ui.set_item_enabled(c.id, c.enabled());
    if (c.checked) ui.set_item_checked(c.id, c.checked());
  }
}

}  // namespace orvela::ui
