#!/usr/bin/env bash
# Compiles the help files and the tour from their HTML sources (help/pages/<language>/ and
# help/tour/) into the program folder: Help.chm, Help_ru.chm and Tour.chm.
# Usage: build-help.sh WORK_FOLDER PROGRAM_FOLDER
set -euo pipefail
work=$1
dist=$2
help=$(cd "$(dirname "$0")/../help" && pwd)

# chmcmd compiles the files named in the project, relative to it: each project is copied into
# a work folder of its own together with the shared style sheet. The viewer shows the title,
# the contents and the index in the code page of the file's language, so the project, contents
# and index files are converted to it; the pages declare UTF-8 themselves.
compile() {
  local sources=$1 project=$2 codepage=$3
  local folder=$work/${project%.hhp}
  rm -rf "$folder"
  cp -r "$sources" "$folder"
  cp "$help/style.css" "$folder/html/"
  local text
  for text in "$folder"/*.hhp "$folder"/*.hhc "$folder"/*.hhk; do
    [ -e "$text" ] || continue
    iconv -f UTF-8 -t "$codepage" "$text" > "$text.converted"
    mv "$text.converted" "$text"
  done
  if ! (cd "$folder" && chmcmd --no-html-scan "$project" > chmcmd.log 2>&1); then
    cat "$folder/chmcmd.log" >&2
    exit 1
  fi
  cp "$folder/${project%.hhp}.chm" "$dist/"
}

mkdir -p "$work" "$dist"
compile "$help/pages/en" Help.hhp CP1252
compile "$help/pages/ru" Help_ru.hhp CP1251
compile "$help/tour" Tour.hhp CP1252
