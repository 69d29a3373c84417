#!/usr/bin/env bash
# Starts (or stops) what the tests use: an X server, a PulseAudio null sink, CUPS with a PDF printer.
#   source tools/services.sh; services_start; ...; services_stop
export TERRAVALE_RUNTIME=${TERRAVALE_RUNTIME:-/tmp/terravale-test-runtime}
export DISPLAY=${TERRAVALE_DISPLAY:-:97}
export XDG_RUNTIME_DIR=$TERRAVALE_RUNTIME/xdg
export PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse
export TERRAVALE_PDF_DIR=$TERRAVALE_RUNTIME/pdf

services_start() {
  mkdir -p "$XDG_RUNTIME_DIR" "$TERRAVALE_PDF_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"

  if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$TERRAVALE_RUNTIME/xvfb.log" 2>&1 &
    echo $! >"$TERRAVALE_RUNTIME/xvfb.pid"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi

  if ! pactl info >/dev/null 2>&1; then
    pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit --system=false -n \
      --load="module-native-protocol-unix" \
      --load="module-null-sink sink_name=terravale_null sink_properties=device.description=terravale_null" \
      >"$TERRAVALE_RUNTIME/pulse.log" 2>&1 || true
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl set-default-sink terravale_null >/dev/null 2>&1 || true
  fi

  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    (cupsd || /usr/sbin/cupsd) >/dev/null 2>&1 || true
    for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
  fi
  if [[ -f /etc/cups/cups-pdf.conf ]]; then
    sed -i -E "s|^#?Out .*|Out $TERRAVALE_PDF_DIR|; s|^#?AnonDirName .*|AnonDirName $TERRAVALE_PDF_DIR|" /etc/cups/cups-pdf.conf
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    ppd=$(find /usr/share/ppd -iname 'CUPS-PDF_opt.ppd*' 2>/dev/null | head -n1)
    lpadmin -p PDF -E -v cups-pdf:/ ${ppd:+-P "$ppd"} >/dev/null 2>&1 || true
  fi
  cupsenable PDF >/dev/null 2>&1 || true
  cupsaccept PDF >/dev/null 2>&1 || true
  lpadmin -d PDF >/dev/null 2>&1 || true
}

services_stop() {
  if [[ -f "$TERRAVALE_RUNTIME/xvfb.pid" ]]; then
    kill "$(cat "$TERRAVALE_RUNTIME/xvfb.pid")" 2>/dev/null || true
    rm -f "$TERRAVALE_RUNTIME/xvfb.pid"
  fi
  pulseaudio --kill >/dev/null 2>&1 || true
}
