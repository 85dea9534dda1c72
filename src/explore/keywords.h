#pragma once
// The key words of a search and how they meet an object's texts: the user's
// entry folded to lower case and split at blanks; every key word must occur
// somewhere in one of the object's texts, in any case of its letters.
//
// Case is folded for ASCII exactly as SQLite's LIKE folds it, and beyond
// ASCII for the letters of the Latin, Greek, Cyrillic, Armenian and Georgian
// scripts, one letter for one letter ("ŁÓDŹ" finds "Łódź", "STRAẞE" finds
// "Straße", but "strasse" does not find "Straße"). No letter outside ASCII
// is ever folded into an ASCII letter, so a key word written in ASCII finds
// exactly what LIKE would find.
#include <sqlite3.h>

#include <string>
#include <string_view>
#include <vector>

namespace orvela::explore {

using KeyWords = std::vector<std::string>;

// `s` in lower case, character by character; bytes that are no UTF-8
// character pass through unchanged.
std::string fold_case(std::string_view s);

// The folded words of `s`, split at blanks and tabs, empty words dropped.
KeyWords PREPARESEARCHKEYWORDS(std::string_view s);
// True when every key word occurs in the folded `s` (true for no key words).
bool CHECKSEARCHKEYWORDS(std::string_view s, const KeyWords& SKW);

// The SQL condition that every key word occurs in one of the seven texts of
// the object `p` (a row of orvel_poi or orvel_lin): its name, type, street,
// house number, city, region or country. Key word i is parameter
// ?(first + i): the caller binds SKW[i] there, so no key word ever becomes
// SQL. Empty for no key words. Needs register_keyword_match() on the
// connection.
std::string PREPWHERE(const KeyWords& SKW, int first);

// Makes the SQL function haskeyword(text, keyword) known to `db`: 1 when the
// folded key word occurs in the folded text, 0 otherwise (also for NULL).
// True when it is there (also when it was there already).
bool register_keyword_match(sqlite3* db);

}  // namespace orvela::explore
