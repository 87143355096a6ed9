# Shared start of the batch end-to-end scripts: `fail`, and a scratch
# folder $work removed when the script ends. Source it with src set.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
