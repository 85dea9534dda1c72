#pragma once
// The statements that lay out a map file. The writer runs them in its own
// order with its own checks; everything that reads maps relies on exactly
// these tables, columns and indices.
#include <array>
#include <string>
#include <string_view>

namespace orvela::map::schema {

inline constexpr std::string_view CREATE_POI =
    "create table orvel_poi (id integer primary key autoincrement, objtype varchar, nameid "
    "integer, "
    "typeid integer, streetid integer, housenum varchar, cityid integer, regionid integer, "
    "countryid integer, lat integer, lon integer, startlev integer, endlev integer);";
inline constexpr std::string_view CREATE_LIN =
    "create table orvel_lin (id integer primary key autoincrement, objtype varchar, nameid "
    "integer, "
    "typeid integer, streetid integer, housenum varchar, cityid integer, regionid integer, "
    "countryid integer, startlev integer, endlev integer, points blob, hlevels blob);";
inline constexpr std::string_view CREATE_LINIDX =
    "CREATE VIRTUAL TABLE orvel_linidx USING rtree( id,  minlon, maxlon, minlat, maxlat       );";
inline constexpr std::string_view CREATE_TAGS =
    "create table if not exists orvel_tags (id integer primary key autoincrement, objtype varchar, "
    "objectid integer, tagnameid integer, tagvalueid integer);";
inline constexpr std::string_view CREATE_IDXTAGS =
    "create index if not exists idxtags on orvel_tags(objtype, objectid);";
inline constexpr std::string_view CREATE_LOGENTRY =
    "create table orvel_logentry (id integer primary key autoincrement, datetime int, msg text);";
inline constexpr std::string_view CREATE_IDXLOGENTRY =
    "create index idxlogentry on orvel_logentry(datetime);";
inline constexpr std::string_view CREATE_LOGENTRYFILES =
    "create table orvel_logentryfiles (id integer primary key autoincrement, logentryid int, "
    "logfileid int);";
inline constexpr std::string_view CREATE_IDXLOGENTRYID =
    "create index idxlogentryid on orvel_logentryfiles(logentryid);";
inline constexpr std::string_view CREATE_INFO =
    "create table orvel_info (id integer primary key autoincrement, name varchar, value varchar);";
inline constexpr std::string_view CREATE_IDXINFO = "create index idxinfo on orvel_info(name);";

// Built when the writer closes the file, after the rows are in.
inline constexpr std::string_view CREATE_IDXLATLON =
    "create index idxlatlon on orvel_poi(lat,lon);";
inline constexpr std::string_view CREATE_IDXPOISTARTLEV =
    "create index idxpoistartlev on orvel_poi(startlev);";
inline constexpr std::string_view CREATE_IDXPOIENDLEV =
    "create index idxpoiendlev on orvel_poi(endlev);";
inline constexpr std::string_view CREATE_IDXLINSTARTLEV =
    "create index idxlinstartlev on orvel_lin(startlev);";
inline constexpr std::string_view CREATE_IDXLINENDLEV =
    "create index idxlinendlev on orvel_lin(endlev);";

// The string tables, in their fixed order; table orvel_P has columns Pid and P.
inline constexpr std::array<std::string_view, 9> STRING_TABLES = {
    "name", "type", "street", "city", "region", "country", "tagname", "tagvalue", "logfile"};

inline std::string create_string_table(std::string_view p) {
  std::string s(p);
  return "create table orvel_" + s + " (" + s + "id integer primary key autoincrement, " + s +
         " varchar);";
}
inline std::string create_string_index(std::string_view p) {
  std::string s(p);
  return "create index idx" + s + " on orvel_" + s + "(" + s + ");";
}

}  // namespace orvela::map::schema
