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
  # Our raw test queue is no printer of the machine's own.
  others=$(lpstat -e 2>/dev/null | grep -vx -e "$VERSORA_PDF_PRINTER" -e "$VERSORA_RAW_PRINTER" || true)
  [ -z "$others" ] || return 0
  as_root lpadmin -d "$VERSORA_PDF_PRINTER"
}

# A raw queue whose device is a socket printer on this machine: the end-to-end test listens on
# the port and checks, byte for byte, what the spooler sends through it.
VERSORA_RAW_PRINTER=VersoraRaw
VERSORA_RAW_PORT=${VERSORA_RAW_PORT:-9137}
export VERSORA_RAW_PORT

cups_add_raw_printer() {
  local uri="socket://127.0.0.1:$VERSORA_RAW_PORT" out
  lpstat -v "$VERSORA_RAW_PRINTER" 2>/dev/null | grep -q " $uri\$" && return 0
  # A failed job must not stop the queue for the next run.
  if ! out=$(as_root lpadmin -p "$VERSORA_RAW_PRINTER" -E -v "$uri" -m raw \
               -o printer-error-policy=abort-job 2>&1); then
    echo "$out" >&2
    return 1
  fi
}

# Jobs of an earlier run that nobody received would keep trying to reach the socket printer.
cups_cancel_raw_jobs() {
  cups_has_printer "$VERSORA_RAW_PRINTER" || return 0
  as_root cancel -a "$VERSORA_RAW_PRINTER" 2>/dev/null || true
}
