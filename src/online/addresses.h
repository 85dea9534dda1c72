#pragma once
// The addresses the online commands use, keys of orvela.ini. The project
// runs no map server or home page of its own: until the user names one,
// they are empty, and a command that needs one says which key to set.
#include <string>
#include <string_view>

namespace orvela::online {

struct OnlineAddresses {
  // Base addresses of the two map servers (catalogue and archives).
  std::string primary_map_server;
  std::string backup_map_server;
  // The program's home page; the version file lies at its site's root.
  std::string home_page;
  // The UMP-www web map viewer.
  std::string web_map_viewer = "https://ump.fuw.edu.pl";
};

// What to say when the address under `key` is empty: "No map server
// configured: set primary_map_server in orvela.ini." and its kin for
// "home_page", "author_mail" and "web_map_viewer".
std::string no_address_text(std::string_view key);

}  // namespace orvela::online
