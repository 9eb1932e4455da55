# Sourced by the setup scripts: installs the Debian packages of a list that are missing.
#   install_missing_packages [--no-install-recommends] PACKAGE...
# Needs root for apt-get; uses sudo when not root. Does nothing when all are installed.
install_missing_packages() {
  local options=()
  if [ "${1:-}" = "--no-install-recommends" ]; then
    options+=("$1")
    shift
  fi
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$package")
  done
  [ "${#missing[@]}" -gt 0 ] || return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  # Another install may hold the package lock for a while: wait for it rather than fail.
  local wait_for_lock=(-o DPkg::Lock::Timeout=1200)
  $sudo apt-get "${wait_for_lock[@]}" update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get "${wait_for_lock[@]}" install -y \
    "${options[@]}" "${missing[@]}"
}
