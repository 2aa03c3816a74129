#!/usr/bin/env bash
# The catalogues as translators and their tools keep them: po/quenbrook.pot holds every text the
# code shows, no more and no fewer; each language of po/LINGUAS is complete and valid as msgfmt
# checks it, and keeps each placeholder ({1}, {2}) and line break of the English text.
#   tests/i18n/check.sh SOURCE_DIR
set -euo pipefail
cd "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

find wizard picker shortcut platform -name '*.cpp' -o -name '*.h' | sort >"$work/sources"
xgettext --from-code=UTF-8 -k --keyword=tr:1 --keyword=N_:1 --add-comments=TRANSLATORS \
  --sort-by-file --package-name=Quenbrook -o "$work/code.pot" -f "$work/sources" 2>/dev/null
# Only the texts count, not where they stand nor the header's dates.
texts() { msgattrib --no-location --no-wrap --sort-output "$1" | sed '1,/^$/d' | grep '^msgid'; }
diff <(texts po/quenbrook.pot) <(texts "$work/code.pot") >"$work/pot.diff" ||
  fail "po/quenbrook.pot is not the code's (cmake --build build --target pot):"$'\n'"$(cat "$work/pot.diff")"

while read -r language; do
  case $language in "" | "#"*) continue ;; esac
  po=po/$language.po
  stats=$(msgfmt --check --statistics -o /dev/null "$po" 2>&1) || fail "$po: $stats"
  [[ $stats =~ ^[0-9]+\ translated\ messages\.$ ]] || fail "$po is not complete: $stats"
  msgcmp "$po" "$work/code.pot" 2>"$work/cmp" || fail "$po lacks texts: $(cat "$work/cmp")"
  # Each translation keeps each placeholder of its English text, and its line breaks, which the
  # code and the boxes rely on.
  msgexec -i "$po" sh -c '
    [ -n "$MSGEXEC_MSGID" ] || exit 0
    shape() {
      printf %s "$1" | grep -o "{[0-9]}" | sort | tr -d "\n"
      printf %s "$1" | tr -cd "\n" | wc -c
    }
    text=$(cat; echo .)
    [ "$(shape "$MSGEXEC_MSGID")" = "$(shape "${text%.}")" ] || echo "$MSGEXEC_MSGID"' \
    >"$work/placeholders"
  [ ! -s "$work/placeholders" ] ||
    fail "$po loses or adds placeholders or line breaks in:"$'\n'"$(cat "$work/placeholders")"
  echo "$po: $stats"
done <po/LINGUAS
exit $status
