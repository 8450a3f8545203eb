# What scripts/with-wayland and scripts/with-kwin share, sourced by both: a private runtime folder,
# home and session bus around the command, run as an unprivileged user when the caller is root,
# and the cleanup of everything the session started. Each script starts its own compositor and
# portals in between.
#
# A script sources this with `self` (its own resolved path) and `tool` (its name, for messages)
# set, calls session_enter_bus "$@" first (which comes back only in the second stage, on the
# private bus) and session_begin after it.
#
#   PICTRO_WAYLAND_USER     the user a root caller runs the session as (default pictro-test)

# Stage 1, as whoever called: the work folder, and the switch to the test user when root. Runs
# the calling script again as stage 2 inside dbus-run-session and exits with its status.
session_enter_bus() {
  [ "${PICTRO_WAYLAND_STAGE:-}" = "" ] || return 0
  local session_user=${PICTRO_WAYLAND_USER:-pictro-test}
  work=$(mktemp -d /tmp/pictro-wayland.XXXXXX)
  chmod 755 "$work"
  trap 'rm -rf "$work"' EXIT
  trap 'exit 130' INT TERM
  mkdir -m 700 "$work/runtime" "$work/home"
  # No document portal: it needs FUSE, which only root may open on some machines, and when it
  # dies at start the portal waits 25 s for it. Pictro runs unsandboxed and never needs it.
  mkdir -p "$work/home/.local/share/dbus-1/services"
  printf '[D-BUS Service]\nName=org.freedesktop.portal.Documents\nExec=/bin/false\n' \
    >"$work/home/.local/share/dbus-1/services/org.freedesktop.portal.Documents.service"
  export PICTRO_WAYLAND_WORK=$work PICTRO_WAYLAND_STAGE=bus
  if [ "$(id -u)" -eq 0 ]; then
    if ! id -u "$session_user" >/dev/null 2>&1; then
      # Two sessions starting at once may both try; only the outcome matters.
      useradd --system --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
        "$session_user" 2>/dev/null
      id -u "$session_user" >/dev/null 2>&1 || { echo "$tool: cannot create user $session_user" >&2; exit 1; }
    fi
    chown -R "$session_user:" "$work/runtime" "$work/home"
    setpriv --reuid="$session_user" --regid="$session_user" --init-groups \
      env HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" USER="$session_user" LOGNAME="$session_user" \
      dbus-run-session -- "$self" "$@" 3>&2 4>&1 >>"$work/bus.log" 2>&1
  else
    env HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" dbus-run-session -- "$self" "$@" 3>&2 4>&1 >>"$work/bus.log" 2>&1
  fi
  exit $?
}

# Stage 2, on the private session bus. The bus and the services it starts write to bus.log; this
# stage and the command to the caller. Sets work, logs and XDG_RUNTIME_DIR, and the cleanup.
session_begin() {
  exec 1>&4 2>&3 3>&- 4>&-
  work=$PICTRO_WAYLAND_WORK
  unset PICTRO_WAYLAND_STAGE PICTRO_WAYLAND_WORK DISPLAY
  export XDG_RUNTIME_DIR="$work/runtime" XDG_SESSION_TYPE=wayland
  logs="$XDG_RUNTIME_DIR/logs"
  mkdir -p "$logs"
  compositor_pid=""
  trap session_cleanup EXIT
  trap 'exit 130' INT TERM
}

# Everything this session started carries its private runtime folder: the compositor, pipewire,
# the services the bus activated and whatever the command left running.
session_processes() {
  # The scan runs without the marker, so it never finds itself; this shell is left out by pid.
  env -u XDG_RUNTIME_DIR bash -c \
    'grep -lzxF "XDG_RUNTIME_DIR=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | grep -vx "$2"' \
    _ "$XDG_RUNTIME_DIR" $$
}

session_cleanup() {
  local pids
  pids=$(session_processes)
  [ -n "$pids" ] && kill $pids 2>/dev/null
  for _ in $(seq 40); do
    pids=$(session_processes)
    [ -z "$pids" ] && break
    sleep 0.05
  done
  [ -n "$pids" ] && kill -KILL $pids 2>/dev/null
  [ -n "$compositor_pid" ] && wait "$compositor_pid" 2>/dev/null
}

# Gives up on the session: the reason, the end of the log that explains it and of the bus's.
session_fail() {
  echo "$tool: $1" >&2
  [ -f "$2" ] && tail -n 20 "$2" >&2
  tail -n 20 "$work/bus.log" >&2
  exit 1
}

# Waits up to five seconds until NAME has an owner on the session bus, while process PID (that
# should take it) lives; fails the session when that process ends first.
session_wait_for_name() {
  local name=$1 pid=$2 log=$3
  for _ in $(seq 200); do
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.NameHasOwner "$name" 2>/dev/null | grep -q true && return 0
    kill -0 "$pid" 2>/dev/null || session_fail "$name did not appear: its process ended" "$log"
    sleep 0.025
  done
  return 1
}

# Gives the portal only these backends (names of /usr/share/xdg-desktop-portal/portals/NAME.portal):
# for an interface that no backend of the running desktop implements, it takes any installed one,
# and another desktop's backend would then answer in this session (KDE's offering shortcuts in
# sway's, for one). Sets XDG_DESKTOP_PORTAL_DIR, for the bus to pass on to the portal.
session_portal_backends() {
  local dir="$XDG_RUNTIME_DIR/portals" name
  mkdir -p "$dir"
  for name in "$@"; do
    cp "/usr/share/xdg-desktop-portal/portals/$name.portal" "$dir/" ||
      session_fail "no portal backend $name" /dev/null
  done
  export XDG_DESKTOP_PORTAL_DIR=$dir
}

# Whether the desktop portal offers INTERFACE; the first call starts the portal, which offers
# an interface only once its backends answered.
session_portal_offers() {
  gdbus call --session --dest org.freedesktop.portal.Desktop --object-path /org/freedesktop/portal/desktop \
    --method org.freedesktop.DBus.Properties.Get "$1" version >/dev/null 2>&1
}

# Waits up to ten seconds for the portal to offer INTERFACE; says so and goes on when it does not.
session_wait_for_portal() {
  for _ in $(seq 100); do
    session_portal_offers "$1" && return 0
    sleep 0.1
  done
  echo "$tool: the portal offers no $1; going on without it" >&2
  tail -n 20 "$work/bus.log" >&2
  return 1
}
