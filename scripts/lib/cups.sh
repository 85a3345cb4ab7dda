# shellcheck shell=bash
# CUPS without relying on systemd: the scheduler, the PDF printer, and a default printer for
# machines that have none.

VERSORA_PDF_PRINTER=PDF
VERSORA_PDF_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

cups_running() { lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; }

cups_start() {
  cups_running && return 0
  if [ -d /run/systemd/system ] && command -v systemctl >/dev/null; then
    as_root systemctl start cups
  else
    # Containers have no service manager; cupsd detaches by itself.
    as_root cupsd
  fi
  for _ in $(seq 100); do
    cups_running && return 0
    sleep 0.1
  done
  echo "CUPS scheduler did not start" >&2
  return 1
}

cups_has_printer() { lpstat -v "$1" >/dev/null 2>&1; }

cups_add_pdf_printer() {
  cups_has_printer "$VERSORA_PDF_PRINTER" && return 0
  local out
  # lpadmin warns that PPD drivers are deprecated on every call; show it only on failure.
  if ! out=$(as_root lpadmin -p "$VERSORA_PDF_PRINTER" -E -v cups-pdf:/ \
                             -P "$VERSORA_PDF_PPD" 2>&1); then
    echo "$out" >&2
    return 1
  fi
}

# Makes the PDF printer the default only where it is the sole printer and nothing is default,
# so a machine's own printers and its choice among them stay as they were.
cups_ensure_default_printer() {
  if lpstat -d 2>/dev/null | grep -q '^system default destination:'; then return 0; fi
  local others
  others=$(lpstat -e 2>/dev/null | grep -vx "$VERSORA_PDF_PRINTER" || true)
  [ -z "$others" ] || return 0
  as_root lpadmin -d "$VERSORA_PDF_PRINTER"
}
