#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the rate site's systemd user units as installed, without a user manager: systemd reads
# them without complaint, the service keeps the sandbox the site is meant to run in, and
# systemd's own rating of its exposure stays as low as that sandbox makes it.
set -euo pipefail
usage="usage: units-test.sh BUILD_DIR SOURCE_DIR"
build=$(realpath "${1:?$usage}")
source=$(realpath "${2:?$usage}")
fail() { echo "units-test: $*" >&2; exit 1; }

scratch=$(mktemp -d -t corvanta-units.XXXXXX)
pids=()
cleanup() {
  ((${#pids[@]} == 0)) || kill "${pids[@]}" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
prefix=$scratch/prefix
cmake --install "$build" --component runtime --prefix "$prefix" >"$scratch/install.log" || {
  cat "$scratch/install.log"; fail "cmake --install failed"; }
units=$prefix/lib/systemd/user
service=$units/corvanta-rate-site.service
# systemd-analyze looks up the user's runtime folder even offline.
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

systemd-analyze verify --user "$units/corvanta-rate-site.socket" "$service" \
  >"$scratch/verify.log" 2>&1 || { cat "$scratch/verify.log"; fail "systemd rejects the units"; }
[[ ! -s $scratch/verify.log ]] || { cat "$scratch/verify.log"; fail "systemd warns about the units"; }

# Each directive, as the site needs it: a change here is a change of the sandbox.
for directive in PrivateUsers=yes ProtectSystem=strict ProtectHome=read-only \
    CacheDirectory=corvanta PrivateTmp=yes NoNewPrivileges=yes \
    'RestrictAddressFamilies=AF_INET AF_INET6 AF_UNIX' SystemCallFilter=@system-service \
    'SystemCallFilter=~@privileged @resources @clock' SystemCallArchitectures=native \
    MemoryDenyWriteExecute=yes CapabilityBoundingSet= MemoryMax=256M TasksMax=32; do
  grep -qxF "$directive" "$service" || fail "the service lacks $directive"
done
# The site serves the socket it is given: the unit must not take it away.
grep -qE '^(PrivateNetwork|IPAddressDeny)=' "$service" && fail "the service cuts off its socket"

# The installed site, started as its socket starts it, under strace: every system call that it
# (not the starter) makes while it answers a request, tries the feed and leaves when idle must
# pass the service's filter, and every socket it opens must be of an allowed family.
expand() { # the system calls of the groups and calls named
  local item
  for item; do
    if [[ $item == @* ]]; then
      # shellcheck disable=SC2046 # one name a word
      expand $(systemd-analyze syscall-filter "$item" | sed -e 1d -e 's/#.*//')
    else
      echo "$item"
    fi
  done
}
allowed=$(sort -u <(expand @system-service) | comm -23 - <(expand @privileged @resources @clock | sort -u))

# A feed on loopback: one answer per connection, a day's rates.
response=$scratch/feed.http
feed=$source/tests/fixtures/feeds/eurofxref-2026-12-08.xml
printf 'HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: %s\r\nConnection: close\r\n\r\n' \
  "$(stat -c %s "$feed")" >"$response"
cat "$feed" >>"$response"
# Reads the request up to its blank line, then answers.
answerFeed="while IFS= read -r line && [ \"\$line\" != \"\$(printf '\\r')\" ]; do :; done; cat '$response'"

# Listens on a free port of loopback; sets `port` and adds the starter to `pids`.
activate() {
  for _ in 1 2 3 4 5; do
    port=$((20000 + RANDOM % 20000))
    /usr/bin/systemd-socket-activate -l "127.0.0.1:$port" "$@" &
    sleep 1
    if kill -0 $! 2>/dev/null; then
      pids+=($!)
      return 0
    fi
  done
  fail "no free port for $*"
}

activate --accept --inetd sh -c "$answerFeed" 2>"$scratch/feed.err"
feedPort=$port
trace=$scratch/site.trace
# strace -D traces from a grandchild, so that the site keeps the process id the socket was
# passed to.
export XDG_CACHE_HOME=$scratch/cache
activate -E XDG_CACHE_HOME -E CORVANTA_RATE_SITE_IDLE_SECONDS=2 \
  strace -D -f -qq -o "$trace" "$prefix/bin/corvanta-rate-site" \
  --feed "http://localhost:$feedPort/eurofxref-daily.xml" >"$scratch/site.out" 2>"$scratch/site.err"
site=${pids[-1]}
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /d/USD/table.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n' >&3
answer=$(timeout 60 cat <&3 || true)
exec 3>&-
[[ $answer == "HTTP/1.1 200 "* ]] || { cat "$scratch/site.err"; fail "the activated site did not answer"; }
wait "$site" || { cat "$scratch/site.err"; fail "the activated site failed or did not leave"; }
# Until the tracer has ended, the trace may not be all written.
for _ in $(seq 300); do pgrep -f -- "-o $trace" >/dev/null || break; sleep 0.1; done
pgrep -f -- "-o $trace" >/dev/null && fail "the tracer of the site does not end"
grep -q ' exit_group(' "$trace" || fail "the trace of the site has no end"
[[ -s $scratch/cache/corvanta/eurofxref-daily.xml ]] ||
  { cat "$scratch/site.err"; fail "the activated site kept no feed"; }

calls=$(sed -n 's/^[0-9]* *\([a-z0-9_]*\)(.*/\1/p; s/^[0-9]* *<\.\.\. \([a-z0-9_]*\) resumed>.*/\1/p' \
  "$trace" | sort -u)
[[ $calls == *accept4* ]] || fail "the trace does not show the site serving"
outside=$(comm -23 <(echo "$calls") <(echo "$allowed"))
[[ -z $outside ]] || fail "the site makes system calls that the service forbids: $outside"
families=$(grep -o ' socket(AF_[A-Z0-9]*' "$trace" | cut -d'(' -f2 | sort -u)
others=$(grep -vxE 'AF_(INET|INET6|UNIX)' <<<"$families" || true)
[[ -z $others ]] || fail "the site opens sockets that the service forbids: $others"

systemd-analyze security --user --offline=true --threshold=30 "$service" \
  >"$scratch/security.log" 2>&1 || { cat "$scratch/security.log"; fail "exposure above 3.0"; }
echo "units-test: $(grep -o 'Overall exposure level.*' "$scratch/security.log")"
