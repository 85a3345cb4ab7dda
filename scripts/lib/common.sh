# shellcheck shell=bash
# Shared by the commands under scripts/: where the repository is, how to report progress,
# and how to run what needs administrator rights.

# shellcheck disable=SC2034  # used by the scripts that source this file
VERSORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

say() { printf '\n==> %s\n' "$*"; }

# Root runs it directly (CI, containers); anyone else goes through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
