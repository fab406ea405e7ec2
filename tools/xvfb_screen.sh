# Sourced by the measuring scripts: makes a scratch folder $work and starts
# an Xvfb screen of 1920x1080 with GLX whose display is $display; both go
# when the script exits.
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
display=":$(head -1 "$work/display")"
