# Shared by the shell tests: counted checks and the readers' verdicts on files.
# Each test ends with "NAME: N passed, N failed" and fails when one did.

passed=0 failed=0

# check WHAT COMMAND...: counts one check; its output goes to checks.log.
check() {
  local what=$1
  shift
  if "$@" >>checks.log 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
  fi
}

same_pixels() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
size_is() { [ "$(identify -format '%w %h' "$1" 2>/dev/null)" = "$2" ]; }

# finish NAME: the closing line and the exit status.
finish() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
