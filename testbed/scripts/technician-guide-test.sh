#!/usr/bin/env bash
# Every message the tool can show has its line in the technician's guide: a table row that
# starts with the key and quotes the English text as language.ini holds it. A key added to
# language.ini, or an English text changed there, without the guide following, fails here.
#   technician-guide-test.sh LANGUAGE_INI GUIDE
set -u
language_ini=$1 guide=$2

# The messages and status texts: keys T and E of the English section, as KEY=TEXT lines.
messages=$(iconv -f UTF-16 -t UTF-8 "$language_ini" | tr -d '\r' |
  sed -n '/^\[LANGUAGE_EN\]/,/^\[/p' | grep -E '^[TE][0-9]+=') || {
  echo "FAIL: no message keys in the English section of $language_ini"
  exit 1
}

failures=0 count=0
while IFS= read -r line; do
  key=${line%%=*} text=${line#*=}
  count=$((count + 1))
  if ! grep -qF "| \`$key\` | $text |" "$guide"; then
    failures=$((failures + 1))
    if grep -qF "| \`$key\` |" "$guide"; then
      echo "FAIL: $key: the guide's line does not quote the English text \"$text\""
    else
      echo "FAIL: $key: no line in the guide (a table row \"| \`$key\` | $text | ...\")"
    fi
  fi
done <<<"$messages"

echo "$count message keys, $failures without their line in $(basename "$guide")"
[ "$failures" -eq 0 ]
