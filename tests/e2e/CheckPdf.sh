#!/bin/sh
# Reads back on the host the PDF that OutputE2ETest printed on the CUPS PDF printer: once
# cups-pdf has written it, pdftotext must show the test's lines in order, one page per sheet.
# The PDF and an image of its first page are kept in the output folder to look at.
set -u
out="$1"
marker="$out/pdf-job.txt"
[ -f "$marker" ] || { echo "no $marker: OutputE2ETest printed nothing"; exit 1; }
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

mv "$pdf" "$out/OutputE2E.pdf"
pdftoppm -png -r 60 -f 1 -l 1 "$out/OutputE2E.pdf" "$out/OutputE2E-page" || true
tail -n +2 "$marker" | tr -s ' ' >"$out/pdf-expected.txt"
# A form feed ends each page in pdftotext's output; lines are compared without their margins
# and with each run of blanks as one, as the layout's spacing is pdftotext's estimate.
pdftotext -layout "$out/OutputE2E.pdf" - |
  sed 's/\f/\n--page--\n/g' | sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | tr -s ' ' | grep -v '^$' >"$out/pdf-text.txt"
if ! diff -u "$out/pdf-expected.txt" "$out/pdf-text.txt"; then
  echo "the PDF's text differs from the pages printed ($out/OutputE2E.pdf)"
  exit 1
fi
echo "PDF of job $token: $(grep -c -- '--page--' "$out/pdf-text.txt") pages as printed"
