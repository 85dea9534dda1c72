#pragma once
// xmlparse: a streaming tokenizer for the XML we read (OpenStreetMap extracts,
// weather documents). No tree, no validation: the next tag's name, then its
// attributes one pair at a time, and optionally the text between tags.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "text/istrm.h"

namespace orvela::text {

struct XMLENTITYCONVREC {
  std::string_view ENT;
  char OUT;
};

// The five predefined entities, sorted by name in byte order.
inline constexpr std::array<XMLENTITYCONVREC, 5> XMLENTITIESCONV{
    {{"amp", '&'}, {"apos", '\''}, {"gt", '>'}, {"lt", '<'}, {"quot", '"'}}};
inline constexpr int XMLENTITIESCOUNT = 5;

// The text of an entity name (without "&" and ";"): the five named ones,
// decimal and hexadecimal character references as UTF-8, a blank for anything else.
std::string XMLENTITYCONV(std::string_view entity);

class XmlParser {
 public:
  // Longest tag name, attribute name, attribute value or copied text we accept;
  // anything longer is taken as broken input (see malformed()), so a file
  // without closing characters cannot make us swallow it whole.
  static constexpr size_t kMaxNameLen = 1024;
  static constexpr size_t kMaxValueLen = 1 << 16;
  static constexpr size_t kMaxTextLen = 1 << 20;
  static constexpr size_t kMaxEntityLen = 255;

  // 0 on success, otherwise the I/O error code of the open.
  int XMLOPEN(const std::filesystem::path& fn);
  void XMLCLOSE();

  void XMLGETCH() {
    XMLRES = XMLF.GETCH(XMLCH);
    ++XMLFPOS;
  }
  void XMLSEARCHNEXTTAG();
  std::string XMLGETNEXTTAG();
  // Next attribute of the current tag; true when a name was read.
  bool XMLGETNEXTTAGPAR(std::string& k, std::string& w) {
    if (XMLCH != ' ') {  // the end of the tag: nothing to read
      k.clear();
      w.clear();
      return false;
    }
    if (XMLRES && fast_attr(k, w)) return !malformed_;
    return next_attr_bytewise(k, w);
  }
  void XMLSEARCHTAGEND();

  // While set, text skipped between tags is appended to this string.
  void set_copy_text(std::string* s) { XMLCOPYTEXTSTR = s; }

  bool res() const { return XMLRES; }
  char ch() const { return XMLCH; }
  uint64_t fpos() const { return XMLFPOS; }
  // Bytes of the file itself consumed so far (compressed bytes for packed input).
  uint64_t file_pos() const { return XMLF.file_pos(); }
  // Set once a name or value ran over its limit; reading then stops (res() false).
  bool malformed() const { return malformed_; }
  // With malformed(): what the document should have held instead, for the
  // user who must mend it.
  const std::string& problem() const { return problem_; }

  uint64_t XMLFSIZE = 0;

 private:
  void give_up(std::string problem);
  bool append_capped(std::string& s, char c, size_t cap);
  struct ValueState {
    bool INENTITY = false;
    std::string ENTITY;
  };
  void ADDTOW(char c, std::string& w, ValueState& st);
  // ADDTOW with the common case (a plain character with room left) inline:
  // values are most of the bytes of an OSM file.
  void add_char(char c, std::string& w, ValueState& st) {
    if (!st.INENTITY && c != '&' && w.size() < kMaxValueLen) {
      w.push_back(c);
    } else {
      ADDTOW(c, w, st);
    }
  }
  void read_value(std::string& w);
  void take_plain_value(std::string& w, char inquot);
  void read_attr_name(std::string& k);

  // Two ways through a document. fast_tag and fast_attr take a tag name or
  // an attribute found whole in the read buffer in one step; where they
  // decline (a refill in the way, an entity, a limit, an unusual shape) the
  // byte loops give the same result a character at a time, with take_run
  // for plain stretches.
  bool fast_tag(std::string& name);
  bool fast_attr(std::string& k, std::string& w);
  bool next_attr_bytewise(std::string& k, std::string& w);
  // Takes the pending bytes `buf` up to `stop` (exclusive, at least one byte),
  // leaving everything as XMLGETCH would have left it after each of them.
  void commit(std::string_view buf, const char* stop) {
    size_t n = static_cast<size_t>(stop - buf.data());
    XMLF.consume(n);
    XMLFPOS += n;
    XMLCH = stop[-1];
    XMLRES = true;
  }

  // Takes, straight from the read buffer, the bytes before the first one
  // `stop` accepts, at most `max` of them, exactly as that many XMLGETCH calls
  // would (XMLCH becomes the last one). Runs only over what is buffered: the
  // byte loops around it do the refills, the stop bytes and the limits.
  template <class Stop>
  std::string_view take_run(Stop stop, size_t max) {
    std::string_view buf = XMLF.pending();
    const char* p = buf.data();
    const char* end = p + (buf.size() < max ? buf.size() : max);
    while (p != end && !stop(*p)) ++p;
    if (p == buf.data()) return {};
    commit(buf, p);
    return {buf.data(), p};
  }

  ISTREAM XMLF;
  bool XMLRES = false;
  char XMLCH = 0;
  uint64_t XMLFPOS = 0;
  std::string* XMLCOPYTEXTSTR = nullptr;
  bool malformed_ = false;
  std::string problem_;
};

// Where the byte at `offset` of the text of `fn` (unpacked as XMLOPEN reads
// it) is: line and column from 1, the column counted in UTF-8 characters.
// Only an error report needs it, so the file is read again rather than
// every line counted while parsing.
struct TextPosition {
  uint64_t line = 1;
  uint64_t column = 1;
};
TextPosition text_position(const std::filesystem::path& fn, uint64_t offset);

}  // namespace orvela::text
