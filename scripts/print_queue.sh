# A private CUPS daemon with one PDF queue, for the printing tests; sourced
# by test.sh, not run. Each test run gets its own daemon (own socket, spool
# and configuration in a scratch folder) so runs side by side never share a
# queue, and its own output folder, where every job's PDF lands. The daemon
# never outlives the run: test.sh stops it in its clean-up. The tests
# find both through ZV_PRINT_QUEUE and ZV_PRINT_PDF_DIR; when the daemon
# cannot run they are left unset and the printing tests skip.
#   start_print_queue   sets CUPS_SERVER, ZV_PRINT_QUEUE, ZV_PRINT_PDF_DIR
#   stop_print_queue    ends the daemon and removes what start made

print_queue_dir=""
print_queue_pid=""
print_queue_pdf_conf=""

print_queue_log() { printf '[print] %s\n' "$*"; }

start_print_queue() {
  local cupsd_bin=/usr/sbin/cupsd backend=/usr/lib/cups/backend/cups-pdf
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  if [ ! -x "$cupsd_bin" ] || [ ! -x "$backend" ] || [ ! -f "$ppd" ] || ! command -v lpadmin >/dev/null; then
    print_queue_log "CUPS or CUPS-PDF is not installed: printing tests will skip"
    return 0
  fi
  # The PDF backend reads its settings from /etc/cups only, by the name in
  # the device address, and runs only as root.
  if [ "$(id -u)" != 0 ] || [ ! -w /etc/cups ]; then
    print_queue_log "not root: no private CUPS daemon, printing tests will skip"
    return 0
  fi
  print_queue_dir=$(mktemp -d /tmp/zv-cups.XXXXXX)
  local tag; tag=$(basename "$print_queue_dir" | tr -c 'A-Za-z0-9\n' '_')
  local d=$print_queue_dir
  mkdir -p "$d/conf/ppd" "$d/spool/tmp" "$d/cache" "$d/state" "$d/log" "$d/pdf"
  # Filters run as the daemon's unprivileged user: they read the spool and
  # write temporary files.
  chmod 0755 "$d"
  chgrp -R lp "$d/spool" 2>/dev/null || true
  chmod 0750 "$d/spool"
  chmod 1777 "$d/spool/tmp" "$d/pdf"
  cat >"$d/conf/cups-files.conf" <<EOF
ServerRoot $d/conf
RequestRoot $d/spool
TempDir $d/spool/tmp
CacheDir $d/cache
StateDir $d/state
AccessLog $d/log/access_log
ErrorLog $d/log/error_log
PageLog $d/log/page_log
FileDevice No
Sandboxing Relaxed
EOF
  cat >"$d/conf/cupsd.conf" <<EOF
Listen $d/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  # Output into the run's own folder, not the job owner's home.
  print_queue_pdf_conf="/etc/cups/cups-pdf-$tag.conf"
  printf 'Out %s\nAnonDirName %s\nUserPrefix\nLabel 0\nGrp root\nLog %s\nDecodeHexStrings 1\n' \
    "$d/pdf" "$d/pdf" "$d/log" >"$print_queue_pdf_conf"
  "$cupsd_bin" -f -c "$d/conf/cupsd.conf" -s "$d/conf/cups-files.conf" </dev/null >"$d/log/cupsd.out" 2>&1 &
  print_queue_pid=$!
  export CUPS_SERVER="$d/cups.sock"
  for _ in $(seq 50); do [ -S "$d/cups.sock" ] && break; sleep 0.1; done
  if [ ! -S "$d/cups.sock" ]; then
    print_queue_log "the CUPS daemon did not start: printing tests will skip"
    stop_print_queue
    return 0
  fi
  # One name in every run: Wine keeps the printers it has seen in its prefix.
  local queue=ZPDF
  if ! lpadmin -p "$queue" -v "cups-pdf:/$tag" -E -P "$ppd" >"$d/log/lpadmin.out" 2>&1 ||
    ! lpadmin -d "$queue" >>"$d/log/lpadmin.out" 2>&1; then
    print_queue_log "the PDF queue could not be made: printing tests will skip"
    cat "$d/log/lpadmin.out"
    stop_print_queue
    return 0
  fi
  export ZV_PRINT_QUEUE="$queue" ZV_PRINT_PDF_DIR="$d/pdf"
  print_queue_log "PDF queue $queue, output in $d/pdf"
}

stop_print_queue() {
  if [ -n "$print_queue_pid" ]; then
    kill "$print_queue_pid" 2>/dev/null
    wait "$print_queue_pid" 2>/dev/null
    print_queue_pid=""
  fi
  [ -n "$print_queue_pdf_conf" ] && rm -f "$print_queue_pdf_conf"
  print_queue_pdf_conf=""
  [ -n "$print_queue_dir" ] && rm -rf "$print_queue_dir"
  print_queue_dir=""
  unset CUPS_SERVER ZV_PRINT_QUEUE ZV_PRINT_PDF_DIR
}
