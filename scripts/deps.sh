#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, when missing.
# python3 runs the generator of the temperature table, which the tests compare with the
# shipped table; xvfb, xauth and imagemagick run the program headless and take its
# screenshots, openbox is the window manager it runs under there (the window checks run
# under metacity and xfwm4 as well; xfwm4 reads its settings over a session bus of its own:
# dbus-daemon; procps ends the bus's services with it), x11-utils (xprop,
# xwininfo) and xdotool let the start check look at and drag its windows, wmctrl lets the
# window-state check put the main window into the window manager's states (one direction
# maximised, full screen); libxcb1-dev: the window layer talks to the X server directly.
set -euo pipefail
PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libjpeg-dev gettext libgtest-dev libgmock-dev xvfb xauth imagemagick
          fonts-dejavu-core python3 openbox metacity xfwm4 dbus-daemon procps x11-utils
          xdotool wmctrl libxcb1-dev)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
