#!/bin/sh
# usage: CheckPdf.sh <output folder> <name> [<pages file>]
# Reads back on the host the PDF that the named end-to-end test printed on the CUPS PDF printer:
# once cups-pdf has written it, pdftotext must show the lines of the pages file (a golden one, or
# what the test showed) in order, one page per sheet, its IBM line-draw bytes as the
# box-drawing characters that they draw. A marker whose second line is "#lines" lists instead,
# after it, lines that must each occur somewhere in the PDF's text (blank runs as one). The PDF
# and an image of its first page are kept in the output folder as <name>.pdf to look at.
set -u
out="$1"
name="$2"
golden="${3:-}"
marker="$out/pdf-job.txt"
[ -f "$marker" ] || { echo "no $marker: $name printed nothing"; exit 1; }
token=$(head -n 1 "$marker")

# cups-pdf writes into its Out folder (by default ${HOME}/PDF of the job's user, who is the
# user running the tests) or, for anonymous jobs, into its spool folder.
user=$(id -un)
conf_out=$(sed -n 's/^Out[[:space:]][[:space:]]*//p' /etc/cups/cups-pdf.conf 2>/dev/null | head -n 1)
dirs="$HOME/PDF /var/spool/cups-pdf/$user /var/spool/cups-pdf/ANONYMOUS"
if [ -n "$conf_out" ]; then
  dirs="$(printf '%s' "$conf_out" | sed "s|\${HOME}|$HOME|; s|\${USER}|$user|") $dirs"
fi

pdf=
for _ in $(seq 180); do
  # shellcheck disable=SC2086  # the folders are separate words
  pdf=$(find $dirs -maxdepth 1 -name "*$token*.pdf" 2>/dev/null | head -n 1)
  # Ghostscript writes it in place: it is whole once pdfinfo can read it.
  if [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1; then break; fi
  pdf=
  sleep 0.5
done
if [ -z "$pdf" ]; then
  echo "no PDF of job $token in: $dirs"
  lpstat -W not-completed -o 2>/dev/null
  exit 1
fi

mv "$pdf" "$out/$name.pdf"
pdftoppm -png -r 60 -f 1 -l 1 "$out/$name.pdf" "$out/$name-page" || true

# A form feed ends each page in pdftotext's output, and in the golden file one starts each later
# page and one closes the file; lines are compared without their margins and with each run of
# blanks as one, as the layout's spacing is pdftotext's estimate.
pages() {
  tr -d '\r' | sed 's/\f/\n--page--\n/g' | sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | tr -s ' ' | grep -v '^$'
}
# A date or time printed on the page is the day's, so on both sides it stands as a mark.
stamps() {
  sed -E 's|[0-9]{1,2}/[0-9]{1,2}/[0-9]{4}|<date>|g; s/[0-9]{1,2}:[0-9]{2} [AP]M/<time>/g'
}
if [ "$(sed -n 2p "$marker")" = "#lines" ]; then
  pdftotext -layout "$out/$name.pdf" - | pages >"$out/pdf-text.txt"
  missing=$(tail -n +3 "$marker" | tr -s ' ' | while IFS= read -r want; do
    grep -qF -- "$want" "$out/pdf-text.txt" || echo "$want"
  done)
  if [ -n "$missing" ]; then
    echo "the PDF's text ($out/pdf-text.txt) lacks these lines:"
    echo "$missing"
    exit 1
  fi
  echo "PDF of job $token: $(( $(grep -c -- '--page--' "$out/pdf-text.txt") + 1 )) pages, every line found"
  exit 0
fi
# Its only bytes above ASCII are those of the line-draw set, code page 437's box drawing.
iconv -f CP437 -t UTF-8 "$golden" | pages | stamps >"$out/pdf-expected.txt"
pdftotext -layout "$out/$name.pdf" - | pages | stamps >"$out/pdf-text.txt"
if ! diff -u "$out/pdf-expected.txt" "$out/pdf-text.txt"; then
  echo "the PDF's text differs from the pages printed ($out/$name.pdf), in these fonts:"
  pdffonts "$out/$name.pdf"
  exit 1
fi
echo "PDF of job $token: $(grep -c -- '--page--' "$out/pdf-text.txt") pages as printed"
