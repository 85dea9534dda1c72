#pragma once
// The online commands on a console front end, with a map server on
// 127.0.0.1 whose catalogue and archives the tests write.
#include <string>
#include <vector>

#include "online/archive_builder.h"
#include "online/online.h"
#include "online/test_server.h"
#include "support/explore_world.h"

namespace orvela::online::test {

// Short time-outs and no proxy between the tests and their server.
inline TransferLimits test_limits() {
  TransferLimits l;
  l.connect_timeout_s = 2;
  l.low_speed_time_s = 2;
  l.no_proxy = true;
  return l;
}

struct OnlineWorld : orvela::test::ExploreWorld {
  OnlineWorld()
      : online({db, loader, ex, user, console.ui, addresses, tmp / "tmp", tmp / "update.dat",
                "1.01", "Orvela/1.01"},
               test_limits()) {
    addresses.primary_map_server = server.url("/maps/");
    addresses.backup_map_server = server.url("/backup/");
    addresses.home_page = server.url("/orvela/");
  }

  // Map file `name` in the maps folder with `date`, and a café at HOME.
  void install(const std::string& name, const std::string& date) {
    write_map(map_path(name), date);
  }
  // The 7z archive of a map `name` with `date` on the server under `dir`.
  std::string publish(const std::string& dir, const std::string& name, const std::string& date) {
    const std::filesystem::path m = tmp / "build" / name;
    std::filesystem::create_directories(m.parent_path());
    write_map(m, date);
    const std::filesystem::path a = tmp / "build" / (name + ".7z");
    write_7z(a, {{name, ArchiveEntry::File, file_bytes(m)}});
    server.serve_file(dir + name + ".7z", a);
    return file_bytes(m);
  }
  // The catalogue under `dir` with `lines` after the header.
  void catalogue(const std::string& dir, const std::string& lines) {
    server.serve(dir + "maplista.dat", "orvelamaplista7\r\n" + lines);
  }
  std::string date_of(const std::string& name) { return loader.GETMAPDATE(map_path(name)); }

  // The lines starting with `prefix`.
  std::vector<std::string> lines(const std::string& prefix) const {
    std::vector<std::string> v;
    for (const auto& l : out())
      if (l.starts_with(prefix)) v.push_back(l);
    return v;
  }
  // What the person saw and was asked, without the progress dialog's lines.
  std::vector<std::string> dialog() const {
    std::vector<std::string> v;
    for (const auto& l : out())
      if (!l.starts_with("PROGRESS ")) v.push_back(l);
    return v;
  }
  void answer(const std::string& input) { console.in.str(input); }

  static void write_map(const std::filesystem::path& file, const std::string& date) {
    orvela::test::MapBuilder b(file);
    b.exec("update orvel_info set value='" + date + "' where name='date'");
    orvela::test::MapObject o;
    o.type = 'p';
    o.typ = "cafe";
    o.name = "Linde";
    b.point(o, orvela::test::HOME_LAT, orvela::test::HOME_LON);
  }

  TestServer server;
  OnlineAddresses addresses;
  Online online;
};

}  // namespace orvela::online::test
