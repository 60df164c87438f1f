#!/usr/bin/env bash
# Checks that includes run one way, from the ground up:
#   platform; the base of data (key files, text routines, paths and globals, the settings
#   record, the hook helper, the message types); language; the rest of data; serial;
#   protocol; windows; main; app.
# A file may include its own layer or a lower one. Within the platform layer the serial
# device and the system services do not include the window-system layer. Only src/platform
# calls the operating system or touches Qt: elsewhere the system's own headers (POSIX) and
# Qt's are not included.
# Prints every offending include as file:line and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# Files of the base of data, below the language layer.
DATA_BASE='^src/data/(Key_File|Text_Util|Globals|Settings_Record|Call_Hook|Message_Types)\.(h|cpp)$'
# Headers of the operating system's own interfaces (the C and C++ libraries are fine).
SYSTEM_HEADERS='^(sys/.*|unistd\.h|fcntl\.h|termios\.h|poll\.h|dirent\.h|pthread\.h|dlfcn\.h|pwd\.h|grp\.h|spawn\.h|syslog\.h|libgen\.h|sched\.h|semaphore\.h|netinet/.*|arpa/.*|linux/.*)$'

# The layer of a file below the repository root; empty for a file outside the layers.
layer_of() {
  local f=$1
  case "$f" in
    src/platform/*) echo 0 ;;
    src/data/*) if [[ $f =~ $DATA_BASE ]]; then echo 1; else echo 3; fi ;;
    src/language/*) echo 2 ;;
    src/serial/*) echo 4 ;;
    src/protocol/*) echo 5 ;;
    src/windows/*) echo 6 ;;
    src/main/*) echo 7 ;;
    app/*) echo 8 ;;
    *) echo "" ;;
  esac
}

# An include line: its kind ("..." or <...>) and its target.
INCLUDE_LINE='^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]+)[">]'
LAYER_NAMES=(platform "base of data" language data serial protocol windows main app)
failures=0

report() {
  echo "$1: $2" >&2
  failures=$((failures + 1))
}

while IFS= read -r file; do
  own=$(layer_of "$file")
  [ -n "$own" ] || continue
  line_no=0
  while IFS= read -r line; do
    line_no=$((line_no + 1))
    [[ $line =~ $INCLUDE_LINE ]] || continue
    kind=${BASH_REMATCH[1]}
    target=${BASH_REMATCH[2]}
    if [ "$kind" = "<" ]; then
      case "$file" in src/platform/*) continue ;; esac
      if [[ $target =~ $SYSTEM_HEADERS ]] || [[ $target =~ ^Q ]]; then
        report "$file:$line_no" "includes <$target>: only src/platform calls the system or Qt"
      fi
      continue
    fi
    # Project includes are written from src/ ("data/Settings.h").
    [ -e "src/$target" ] || continue
    theirs=$(layer_of "src/$target")
    [ -n "$theirs" ] || continue
    if [ "$theirs" -gt "$own" ]; then
      report "$file:$line_no" "includes \"$target\" (${LAYER_NAMES[$theirs]}) from the lower layer ${LAYER_NAMES[$own]}"
    fi
    case "$file" in
      src/platform/comm/* | src/platform/system/*)
        case "$target" in
          platform/ui/*) report "$file:$line_no" "includes \"$target\": the serial device and the system services stand below the window-system layer" ;;
        esac
        ;;
    esac
  done <"$file"
done < <(find src app -name '*.h' -o -name '*.cpp' | sort)

if [ "$failures" -gt 0 ]; then
  echo "Include direction: $failures offending include(s)." >&2
  exit 1
fi
echo "Include direction: every include runs down the layers."
