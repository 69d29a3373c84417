#!/usr/bin/env bash
# Starts (or stops) what the tests use: an X server, a PulseAudio null sink, CUPS with a PDF printer.
#   source tools/services.sh; services_start; ...; services_stop
export TERRAVALE_RUNTIME=${TERRAVALE_RUNTIME:-/tmp/terravale-test-runtime}
export DISPLAY=${TERRAVALE_DISPLAY:-:97}
export XDG_RUNTIME_DIR=$TERRAVALE_RUNTIME/xdg
export PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse
export TERRAVALE_PDF_DIR=$TERRAVALE_RUNTIME/pdf
# A CUPS server of our own, reached through a socket in the runtime folder.
export CUPS_SERVER=$TERRAVALE_RUNTIME/cups/cups.sock
TERRAVALE_CUPS_ROOT=$TERRAVALE_RUNTIME/cups
# cups-pdf reads /etc/cups/cups-pdf-<name>.conf for the queue cups-pdf:/<name>: one name per runtime.
TERRAVALE_CUPS_PDF_NAME=tv$(printf '%s' "$TERRAVALE_RUNTIME" | md5sum | cut -c1-10)

services_start() {
  mkdir -p "$XDG_RUNTIME_DIR" "$TERRAVALE_PDF_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"

  if ! xdpyinfo >/dev/null 2>&1; then
    # -noreset: an X server resets when its last client leaves and turns new clients away meanwhile.
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >"$TERRAVALE_RUNTIME/xvfb.log" 2>&1 &
    echo $! >"$TERRAVALE_RUNTIME/xvfb.pid"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  wm_start

  if ! pactl info >/dev/null 2>&1; then
    pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit --system=false -n \
      --load="module-native-protocol-unix" \
      --load="module-null-sink sink_name=terravale_null sink_properties=device.description=terravale_null" \
      >"$TERRAVALE_RUNTIME/pulse.log" 2>&1 || true
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl set-default-sink terravale_null >/dev/null 2>&1 || true
  fi
  # Checks that record nothing play to this sink, so they may run beside those that record.
  if ! pactl list short sinks 2>/dev/null | grep -q terravale_quiet; then
    pactl load-module module-null-sink sink_name=terravale_quiet \
      sink_properties=device.description=terravale_quiet >/dev/null 2>&1 || true
  fi

  cups_start
}

# A window manager on the test X server, so screens get a title bar with its buttons as on a desktop.
wm_running() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*') || return 1
  xprop -id "$id" _NET_WM_NAME >/dev/null 2>&1
}

wm_start() {
  wm_running && return 0
  command -v openbox >/dev/null || return 0
  openbox --sm-disable >"$TERRAVALE_RUNTIME/openbox.log" 2>&1 &
  echo $! >"$TERRAVALE_RUNTIME/openbox.pid"
  for _ in $(seq 50); do wm_running && break; sleep 0.1; done
}

wm_stop() {
  if [[ -f "$TERRAVALE_RUNTIME/openbox.pid" ]]; then
    kill "$(cat "$TERRAVALE_RUNTIME/openbox.pid")" 2>/dev/null || true
    rm -f "$TERRAVALE_RUNTIME/openbox.pid"
  fi
}

# cupsd with its own configuration, spool and logs under $TERRAVALE_CUPS_ROOT and one printer,
# "PDF" (cups-pdf writing into $TERRAVALE_PDF_DIR), as the default destination.
cups_start() {
  local root=$TERRAVALE_CUPS_ROOT cupsd_bin ppd
  cupsd_bin=$(command -v cupsd || echo /usr/sbin/cupsd)
  ppd=$(find /usr/share/ppd -iname 'CUPS-PDF_opt.ppd*' 2>/dev/null | head -n1)
  [[ -x "$cupsd_bin" && -x /usr/lib/cups/backend/cups-pdf && -n "$ppd" ]] || return 0
  mkdir -p "$root"/{spool,cache,state,tmp,log,ppd,pdf-spool} "$TERRAVALE_PDF_DIR"
  chmod a+x "$TERRAVALE_RUNTIME"   # the filters run as lp and reach the spool through it
  cat >"/etc/cups/cups-pdf-$TERRAVALE_CUPS_PDF_NAME.conf" <<EOF_PDF
Out $TERRAVALE_PDF_DIR
AnonDirName $TERRAVALE_PDF_DIR
Spool $root/pdf-spool
Log $root/log
Label 2
Grp root
EOF_PDF
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    chmod 755 "$root"
    chgrp lp "$root"/spool "$root"/tmp "$root"/cache 2>/dev/null || true
    chmod 710 "$root"/spool
    chmod 1770 "$root"/tmp
    cat >"$root/cups-files.conf" <<EOF_FILES
ServerRoot $root
RequestRoot $root/spool
CacheDir $root/cache
StateDir $root/state
TempDir $root/tmp
ServerBin /usr/lib/cups
DataDir /usr/share/cups
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
SystemGroup root
User lp
Group lp
PeerCred on
Sandboxing Relaxed
FileDevice No
EOF_FILES
    cat >"$root/cupsd.conf" <<EOF_CONF
Listen $CUPS_SERVER
Browsing No
WebInterface No
DefaultAuthType None
LogLevel warn
PreserveJobHistory Yes
ErrorPolicy abort-job
DefaultPaperSize A4
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF_CONF
    "$cupsd_bin" -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" >"$root/log/cupsd.out" 2>&1 &
    echo $! >"$root/cupsd.pid"
    for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
  fi
  # pdftocairo keeps the text of the PDF searchable (Ghostscript loses its character codes).
  lpadmin -p PDF -E -v "cups-pdf:/$TERRAVALE_CUPS_PDF_NAME" -P "$ppd" \
    -o pdftops-renderer-default=pdftocairo -o media-default=iso_a4_210x297mm \
    >>"$root/log/cupsd.out" 2>&1 || true
  lpadmin -d PDF >>"$root/log/cupsd.out" 2>&1 || true
  cupsenable PDF >/dev/null 2>&1 || true
  cupsaccept PDF >/dev/null 2>&1 || true
}

cups_stop() {
  local root=$TERRAVALE_CUPS_ROOT
  if [[ -f "$root/cupsd.pid" ]]; then
    kill "$(cat "$root/cupsd.pid")" 2>/dev/null || true
    rm -f "$root/cupsd.pid"
  fi
  rm -f "/etc/cups/cups-pdf-$TERRAVALE_CUPS_PDF_NAME.conf"
}

services_stop() {
  cups_stop
  wm_stop
  if [[ -f "$TERRAVALE_RUNTIME/xvfb.pid" ]]; then
    kill "$(cat "$TERRAVALE_RUNTIME/xvfb.pid")" 2>/dev/null || true
    rm -f "$TERRAVALE_RUNTIME/xvfb.pid"
  fi
  pulseaudio --kill >/dev/null 2>&1 || true
}
