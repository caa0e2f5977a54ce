# Sourced by the bench scripts: a scratch directory, the demo marketplace on a free port
# ($site) and, without a display, an Xvfb; all of it ended when the script exits.
# Expects $root (the build root) and $name (for messages).
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

"$root/native/tools/demo/demo_marketplace" --port 0 >"$work/demo.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q listening "$work/demo.log" && break; sleep 0.1; done
site=$(sed -n 's/.*listening on \(http[^ ]*\).*/\1/p' "$work/demo.log")
[ -n "$site" ] || { echo "$name: the demo marketplace did not start" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=${TC_DISPLAY:-:$((90 + RANDOM % 100))}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi
