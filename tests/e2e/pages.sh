#!/usr/bin/env bash
# The real program: Key Facts paged through, Teacher's Notes, the Teachers' Guide's five pages and
# the Acknowledgments with the logo moving; page headings read back from the screen by OCR.
source "$(dirname "$0")/lib.sh"

# Screenshot of a form's window, cropped to a twip rectangle: form name left top width height.
window_crop() {
  local form=$1 out=$6 w
  w=$(e2e_wait_window "$form")
  import -window "$w" "$out.full.png" 2>/dev/null || e2e_fail "no screenshot of $form"
  convert "$out.full.png" -crop "$(($4 / 15))x$(($5 / 15))+$(($2 / 15))+$(($3 / 15))" +repage "$out"
  rm -f "$out.full.png"
}

# Reads the page heading (the band at the top of the page) and checks it holds the words.
expect_heading() {
  local form=$1 words=$2 name=$3 text
  window_crop "$form" 120 0 10440 1200 "$E2E_ARTIFACTS/$name-heading.png"
  convert "$E2E_ARTIFACTS/$name-heading.png" -resize 200% -colorspace Gray -negate "$E2E_ARTIFACTS/$name-ocr.png"
  text=$(tesseract "$E2E_ARTIFACTS/$name-ocr.png" - 2>/dev/null | tr '\n' ' ')
  [[ "$text" == *"$words"* ]] || e2e_fail "$name: heading reads '$text', expected '$words'"
}

expect_caption() {
  local form=$1 words=$2 text
  window_crop "$form" 4200 7920 2295 495 "$E2E_ARTIFACTS/caption.png"
  convert "$E2E_ARTIFACTS/caption.png" -resize 300% "$E2E_ARTIFACTS/caption-ocr.png"
  # A lone 1 often reads as l or I.
  text=$(tesseract --psm 7 "$E2E_ARTIFACTS/caption-ocr.png" - 2>/dev/null | tr -d ' \n' | sed -E 's/[lI|]of/1of/g; s/of[lI|]/of1/g')
  [[ "$text" == *"${words// /}"* ]] || e2e_fail "caption reads '$text', expected '$words'"
}

NEXT="8062 8167"; PREVIOUS="2662 8167"; EXIT="11242 8167"

e2e_start
e2e_click Titlefrm 1900 6150               # OK
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060                 # Rubbish
e2e_wait_window rubbish >/dev/null

e2e_click rubbish 7357 367                 # Key Facts
e2e_wait_window teacher >/dev/null
e2e_shot pages-keyfacts1
expect_heading teacher "Where Does Our Rubbish Go" keyfacts1
expect_caption teacher "Page 1 of 2"
e2e_click teacher $NEXT
expect_heading teacher "Reduce, Reuse, Recycle" keyfacts2
expect_caption teacher "Page 2 of 2"
e2e_shot pages-keyfacts2
e2e_click teacher $PREVIOUS
expect_heading teacher "Where Does Our Rubbish Go" keyfacts1-again
e2e_click teacher $EXIT
e2e_gone teacher

e2e_click rubbish 10237 367                # Teacher's Notes
e2e_wait_window teacher >/dev/null
expect_heading teacher "Notes: Rubbish" notes1
e2e_shot pages-notes1
e2e_click teacher $EXIT
e2e_gone teacher
e2e_click rubbish 11182 8167               # hub Exit
e2e_wait_window intro0 >/dev/null

e2e_click intro0 1657 1327                 # Teachers' Guide
e2e_wait_window guide >/dev/null
expect_heading guide "Getting Started" guide1
expect_caption guide "Page 1 of 5"
headings=("" "Getting Started" "Main Menu and Topics" "Quiz and Results" "Drag-and-Drop Activities" "Your Own Quizzes")
for page in 2 3 4 5; do
  e2e_click guide $NEXT
  expect_heading guide "${headings[page]}" "guide$page"
  expect_caption guide "Page $page of 5"
done
e2e_shot pages-guide5
e2e_click guide $EXIT
e2e_gone guide

e2e_click intro0 1657 8167                 # Acknowledgments
e2e_wait_window teacher >/dev/null
expect_heading teacher "Acknowledgments" acknowledgments
# Five quick looks at the logo box (120 x 120 at 8520, 4320): the quill must be seen moving.
w=$(e2e_wait_window teacher)
for i in 1 2 3 4 5; do
  import -window "$w" -crop 120x120+568+288 +repage "$E2E_ARTIFACTS/logo-$i.png" 2>/dev/null
  sleep 0.07
done
e2e_shot pages-acknowledgments
looks=$(md5sum "$E2E_ARTIFACTS"/logo-[1-5].png | cut -d' ' -f1 | sort -u | wc -l)
[[ $looks -ge 2 ]] || e2e_fail "the logo did not move (5 looks, $looks different)"
changed=$(compare -metric AE "$E2E_ARTIFACTS/logo-1.png" "$E2E_ARTIFACTS/logo-2.png" null: 2>&1 || true)
echo "logo: $looks different looks of 5; first two differ in ${changed%% *} pixels"
e2e_click teacher $EXIT
e2e_gone teacher
e2e_wait_window intro0 >/dev/null
echo "pages e2e passed"
