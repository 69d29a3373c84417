#!/usr/bin/env bash
# The real program prints to the default printer (the CUPS PDF printer of tools/services.sh): a
# certificate after full marks, then a worksheet from the quiz screen. Each PDF must arrive with
# its pages and text; pictures of the pages go to the artifacts folder.
source "$(dirname "$0")/lib.sh"

: "${TERRAVALE_PDF_DIR:?start tools/services.sh first}"
lpstat -d 2>/dev/null | grep -q 'PDF' || e2e_fail "the PDF printer is not the default destination"

set_file="$TERRAVALE_DATA/multiple/Rubbish.txt"
mapfile -t key < <(tr -d '\r' <"$set_file" | awk 'NR >= 8 && NR <= 71 && (NR - 8) % 7 == 0 { gsub(/[ \t]/, ""); print }')
[[ ${#key[@]} -eq 10 ]] || e2e_fail "answer key has ${#key[@]} entries"
set_title=$(head -n1 "$set_file" | tr -d '\r')

# Waits for a PDF that was not in $1 (a listing) and is complete; prints its path.
new_pdf() {
  local before=$1 f
  for _ in $(seq 300); do
    for f in "$TERRAVALE_PDF_DIR"/*.pdf; do
      [[ -f "$f" ]] || continue
      grep -qxF "$f" <<<"$before" && continue
      pdfinfo "$f" >/dev/null 2>&1 && { echo "$f"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# Checks a PDF's page count and that its text holds each further argument.
check_pdf() {
  local pdf=$1 pages=$2 name=$3 text want
  shift 3
  [[ "$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')" == "$pages" ]] || e2e_fail "$name: $(pdfinfo "$pdf" | grep Pages), want $pages"
  text=$(pdftotext -layout "$pdf" - | tr -s ' \n' ' ')
  for want in "$@"; do
    [[ "$text" == *"$want"* ]] || e2e_fail "$name: '$want' not in the PDF text: ${text:0:300}"
  done
  pdftoppm -r 50 -png "$pdf" "$E2E_ARTIFACTS/printing-$name"
}

# A message box of the program is on screen.
dialog_shown() {
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$E2E_PID" --name '.*' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_NET_WM_WINDOW_TYPE_DIALOG' && return 0
  done
  return 1
}

e2e_start
e2e_click Titlefrm 1900 6150
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060         # Rubbish
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 1710 8160        # Multiple Choice
e2e_wait_window multiple >/dev/null

# The worksheet first, from the quiz screen's "Print Worksheet".
before=$(ls "$TERRAVALE_PDF_DIR"/*.pdf 2>/dev/null || true)
e2e_click multiple 9440 2160
sheet=$(new_pdf "$before") || e2e_fail "no worksheet PDF arrived"
sleep 0.3
dialog_shown || e2e_fail "no message after printing the worksheet"
e2e_shot printing-worksheet-message
e2e_key Return
check_pdf "$sheet" 1 worksheet "Terravale" "Quillmark Publishing Ltd" "$set_title" "Question 1 " "Question 10 " "A. " "D. "

# Ten right answers, then the certificate with a typed name.
for n in $(seq 1 10); do
  e2e_click multiple 2550 $((5400 + 600 * (key[n - 1] - 1) + 262))
  e2e_click multiple 7880 8160
done
e2e_wait_window Welldone >/dev/null
sleep 0.5
e2e_click Welldone 6000 6900       # name box
e2e_type "Amy Lee"
before=$(ls "$TERRAVALE_PDF_DIR"/*.pdf 2>/dev/null || true)
e2e_click Welldone 2120 2040       # Print Certificate
cert=$(new_pdf "$before") || e2e_fail "no certificate PDF arrived"
sleep 0.3
dialog_shown || e2e_fail "no message after printing the certificate"
e2e_shot printing-certificate-message
e2e_key Return
check_pdf "$cert" 1 certificate "Well Done Well Done" "Excellent Work" "Amy Lee" "You have scored 10 out of 10." "Terravale"

# The program goes on: Exit leads back to the hub.
e2e_click Welldone 11180 8160
e2e_gone Welldone
e2e_wait_window rubbish >/dev/null
e2e_stop
rm -rf "$E2E_DIR"
sleep 0.5

# No printer at all: "Print Worksheet" shows its message, nothing is printed, the quiz goes on.
export CUPS_SERVER=$E2E_ARTIFACTS/no-such-cups.sock
e2e_start
e2e_click Titlefrm 1900 6150
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 1710 8160
e2e_wait_window multiple >/dev/null
before=$(ls "$TERRAVALE_PDF_DIR"/*.pdf 2>/dev/null || true)
e2e_click multiple 9440 2160
sleep 1
dialog_shown || e2e_fail "no message when there is no printer"
e2e_shot printing-no-printer-message
e2e_key Return
sleep 2
[[ "$(ls "$TERRAVALE_PDF_DIR"/*.pdf 2>/dev/null || true)" == "$before" ]] || e2e_fail "a PDF arrived without a printer"
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended after a failed print"
dialog_shown && e2e_fail "the message did not close"
e2e_wait_window multiple >/dev/null
echo "printing e2e passed"
