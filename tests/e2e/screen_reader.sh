#!/usr/bin/env bash
# The results reach a blind user: the real Orca, on its own session and accessibility buses,
# hears the worked example's results after Enter in f, while the focus stays in f. Run under
# xvfb-run; what Orca said is read from the SPEECH OUTPUT lines of its debug file.
set -euo pipefail
program=$1
# A session bus of the test's own, which the accessibility bus is started from: a desktop's
# own screen reader never hears the test, nor the test it.
if [ -z "${MELKORA_OWN_BUS:-}" ]; then
    MELKORA_OWN_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
work=$(mktemp -d)
. "$(dirname "$0")/lib.sh"
trap 'status=$?; stop_melkora; kill $orca 2>/dev/null; rm -rf "$work"; exit $status' EXIT

# A home of the test's own, whose speech synthesizer says nothing: this machine has no sound
# device, and a real voice would block Orca at its first focus change.
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME/.config/speech-dispatcher/modules" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$HOME/.config/speech-dispatcher/speechd.conf" <<'CONF'
AddModule "silent" "sd_generic" "silent.conf"
DefaultModule silent
CONF
cat >"$HOME/.config/speech-dispatcher/modules/silent.conf" <<'CONF'
GenericExecuteSynth "true"
AddVoice "en" "MALE1" "silent"
CONF

# Orca writes its debug file in blocks, so its last words would wait in its buffer; it is run
# with the file opened line by line.
said=$work/orca.debug
/usr/bin/python3 - "$said" <<'PYTHON' &
import builtins, runpy, sys
debug_file = sys.argv[1]
open_as_asked = builtins.open
def open_line_by_line(file, mode="r", *args, **kwargs):
    if file == debug_file:
        return open_as_asked(file, mode, 1)
    return open_as_asked(file, mode, *args, **kwargs)
builtins.open = open_line_by_line
sys.argv = ["/usr/bin/orca", "--debug-file=" + debug_file]
runpy.run_path("/usr/bin/orca", run_name="__main__")
PYTHON
orca=$!

spoken() { grep -c -F "SPEECH OUTPUT: '$1" "$said" 2>/dev/null || true; }
wait_for_speech() { # text count
    for _ in $(seq 100); do [ "$(spoken "$1")" -ge "$2" ] && return; sleep 0.2; done
    fail "Orca did not say '$1' ($2 times); it said: $(grep 'SPEECH OUTPUT' "$said" | tail -5)"
}
wait_for_speech "Screen reader on." 1

start_melkora "$program"
wait_for_speech "First vector, x component, input" 1
# Orca hears every key before Melkora does: keys at a typist's pace.
for value in 1 2 3 4 5; do
    xdotool type "$value"
    sleep 0.2
    xdotool key Tab
    sleep 0.2
done
xdotool type 6
sleep 0.2
announcement="notification Cross product: -3, 6, -3."
xdotool key Return
wait_for_speech "$announcement" 1
# The same calculation again is heard again.
xdotool key Return
wait_for_speech "$announcement" 2
[ "$(copy_focused_field)" = 6 ] || fail "the focus left f"

echo "e2e screen reader: 1 passed, 0 failed"
