#!/usr/bin/env bash
# Checks that each program given is a position-independent executable with
# BIND_NOW, a GNU_RELRO segment, stack protection and fortified libc calls.
#
#   scripts/check_hardening.sh PROGRAM...
set -euo pipefail

status=0
for program in "$@"; do
  fail() { echo "$program: $1" >&2; status=1; }
  readelf -hW "$program" | grep -q 'Type:.*DYN' || fail "not a position-independent executable"
  readelf -dW "$program" | grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' || fail "no BIND_NOW"
  readelf -lW "$program" | grep -q 'GNU_RELRO' || fail "no GNU_RELRO segment"
  symbols="$(readelf -sW --dyn-syms "$program")"
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "no stack protector"
  grep -Eq '__[a-z0-9_]+_chk@' <<<"$symbols" || fail "no fortified libc call"
  [ "$status" -ne 0 ] || echo "$program: PIE, BIND_NOW, GNU_RELRO, stack protector, fortified"
done
exit "$status"
