#!/bin/sh
# Keeps the translations in data/lang in step with the program's texts.
#
#   tools/update-po.sh          add every _("...") text of src/ that a .po file
#                               lacks, with an empty translation to fill in
#   tools/update-po.sh --check  only list the texts still to translate; exit 1 if any
#
# Texts are marked with _() where they are translated and with N_() where a
# table only stores them (menu rows). Nothing is ever removed from a .po file
# here.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
pot=$(mktemp --suffix=.pot)
merged=$(mktemp --suffix=.po)
trap 'rm -f "$pot" "$merged"' EXIT

find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort |
  xargs xgettext --language=C++ --from-code=UTF-8 --keyword=_ --keyword=N_ \
    --add-comments=TRANSLATORS: --no-location \
    --package-name=Orvela --output="$pot"

status=0
for po in data/lang/*.po; do
  # Existing translations win; texts only the sources have come in empty.
  msgcat --use-first --no-location --no-wrap --output-file="$merged" "$po" "$pot"
  # Untranslated entries, apart from the header (whose msgid is empty).
  todo=$(msgattrib --untranslated --no-obsolete --no-wrap "$merged" | grep '^msgid "..*"$' || true)
  count=$(printf '%s' "$todo" | grep -c '^msgid' || true)
  echo "$po: $count text(s) to translate"
  [ -n "$todo" ] && printf '%s\n' "$todo"
  if [ "${1:-}" = "--check" ]; then
    [ "$count" -eq 0 ] || status=1
  else
    cp "$merged" "$po"
  fi
done
exit $status
