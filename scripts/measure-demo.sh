#!/usr/bin/env bash
# Measures quillon-demo in a real window: the time from start to its first
# painted frame, the CPU it uses idle over 10 s, and its peak memory.
#   scripts/measure-demo.sh [build-dir]
# Starts its own Xvfb when no display is set. Needs xvfb, xdotool, x11-apps.
set -euo pipefail
build=${1:-build}
demo="$build/demo/quillon-demo"
[ -x "$demo" ] || { echo "no $demo: build first" >&2; exit 1; }
xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:93
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
data=$(mktemp -d)
timings=$(mktemp)
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$data" "$timings"
}
trap cleanup EXIT

ms() { date +%s%3N; }
# The root window's pixels, as a checksum: changes once the demo has painted.
shot() { xwd -root -silent 2>/dev/null | md5sum | cut -c1-32; }
blank=$(shot)
start=$(ms)
QUILLON_BACKEND=sdl SDL_AUDIODRIVER=dummy /usr/bin/time -v -o "$timings" \
  "$demo" --data "$data" >/dev/null 2>&1 &
pid=$!
first=""
for _ in $(seq 400); do
  if [ "$(shot)" != "$blank" ]; then first=$(( $(ms) - start )); break; fi
done
echo "first painted frame: ${first:-never} ms after start"
sleep 2  # the opening animation is over
child=$(pgrep -P "$pid" quillon-demo || echo "$pid")
ticks() { awk '{print $14 + $15}' "/proc/$child/stat"; }
before=$(ticks)
sleep 10
after=$(ticks)
hz=$(getconf CLK_TCK)
echo "idle CPU over 10 s: $(awk -v t=$((after - before)) -v hz="$hz" 'BEGIN{printf "%.2f", t / hz}') s"
kill -TERM "$child"
wait "$pid" || true
pid=""
grep -E 'Maximum resident set size|Exit status' "$timings" | sed 's/^\s*/  /'
