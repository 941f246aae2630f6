# Shared helpers for the build scripts: logging, the cache folder, root commands.
set -euo pipefail

ZEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZEL_CACHE="${ZELVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zelvane}"

step() { printf '\033[1;34m==>\033[0m %s\n' "$*"; }
note() { printf '    %s\n' "$*"; }
die()  { printf '\033[1;31mERROR:\033[0m %s\n' "$*" >&2; exit 1; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else die "root rights are needed to run: $* (install sudo or run as root)"
  fi
}

# install_packages WHAT PACKAGE...: installs those of the Debian packages that are missing.
install_packages() {
  local what="$1" p missing=()
  shift
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    step "$what: all present"
    return 0
  fi
  step "$what: installing ${missing[*]}"
  as_root apt-get update -q || die "apt-get could not update the package lists"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" \
    || die "apt-get could not install: ${missing[*]}"
}

jobs() { nproc 2>/dev/null || echo 2; }

# On this kind of virtual machine a core that has gone idle takes long to wake, and Wine's
# server round trips (every window, registry and message call) pay that wake-up each time:
# measured, the program started six times slower with the spare core idle. A lowest-priority
# spinner keeps the spare core awake during Wine tests and benchmarks; it yields to any real work.
AWAKE_PID=""
cpu_awake_start() {
  [ -n "$AWAKE_PID" ] && return 0
  nice -n 19 sh -c 'while :; do :; done' >/dev/null 2>&1 < /dev/null &
  AWAKE_PID=$!
}
cpu_awake_stop() {
  [ -n "$AWAKE_PID" ] && kill "$AWAKE_PID" 2>/dev/null || true
  AWAKE_PID=""
}
