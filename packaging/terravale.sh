#!/bin/sh
# Starts Terravale in the user's own data folder, made on first start from the installed data.
# Pictures, pages, clips and the topic quizzes always come from the installed data (links and
# fresh copies); the teacher's worksheets and catalogue in multiple/ are never overwritten.
set -e
data="${XDG_DATA_HOME:-$HOME/.local/share}/terravale"
/usr/libexec/terravale/prepare-data /usr/share/terravale/data "$data" link
cd "$data"
exec /usr/libexec/terravale/terravale "$@"
