#!/usr/bin/env bash
# Benchmarks of the HTTP client against nginx on loopback, compared with curl in the same run.
#
#   bench/http/run-bench.sh [BUILD_DIR]     (default: build/native; needs tools/tavlox-http built)
#
# 1. A 256 MiB body with a Content-Length into /dev/null: tavlox-http --body none --out /dev/null
#    against curl -s -o /dev/null: wall time, throughput and peak memory of each.
# 2. The same body into memory (tavlox-http --body none): peak memory against the body's size.
# 3. 10,000 small requests on one kept-alive connection: requests per second of each.
# nginx runs with its own configuration in a temporary folder on a free loopback port; the
# machine's default site is not touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
tool=$build/tools/tavlox-http/tavlox-http
[ -x "$tool" ] || { echo "build $tool first" >&2; exit 1; }
command -v curl >/dev/null || { echo "curl is needed for the comparison" >&2; exit 1; }
nginx=$(command -v nginx || echo /usr/sbin/nginx)

work=$(mktemp -d /tmp/tavlox-http-bench.XXXXXX)
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$work/www" "$work/tmp"
chmod 755 "$work" "$work/www"  # nginx workers read the files as an unprivileged user
head -c $((256 << 20)) /dev/urandom > "$work/www/big.bin"
printf 'small body\n' > "$work/www/small.txt"
cat > "$work/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  keepalive_requests 100000;
  keepalive_timeout 60s;
  client_body_temp_path $work/tmp; proxy_temp_path $work/tmp; fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp; scgi_temp_path $work/tmp;
  types { application/octet-stream bin; text/plain txt; }
  server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
"$nginx" -e "$work/error.log" -p "$work" -c "$work/nginx.conf" &
nginx_pid=$!
trap 'kill $nginx_pid 2>/dev/null; wait $nginx_pid 2>/dev/null; rm -rf "$work"' EXIT
for i in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/small.txt" && break; sleep 0.1; done

measure() {  # label, command...: prints "label seconds peak_kib"
  local label=$1; shift
  /usr/bin/time -o "$work/time.txt" -f '%e %M' "$@" >/dev/null 2>/dev/null || true
  echo "$label $(tail -1 "$work/time.txt")"
}
big="http://127.0.0.1:$port/big.bin"
small="http://127.0.0.1:$port/small.txt"
mib=256

"$tool" --body none --out /dev/null --get "$big" | cut -c1-300
echo "== 256 MiB to /dev/null (best of 3)"
best() {  # label, command...: best wall time of three runs and the peak memory of that run
  local label=$1; shift; local b="" line
  for i in 1 2 3; do
    line=$(measure "$label" "$@")
    if [ -z "$b" ] || awk -v a="$(echo $line | cut -d' ' -f2)" -v c="$(echo $b | cut -d' ' -f2)" 'BEGIN{exit !(a<c)}'; then b=$line; fi
  done
  echo "$b"
}
t=$(best tavlox-http "$tool" --body none --out /dev/null --get "$big")
c=$(best curl curl -s -o /dev/null "$big")
echo "$t" | awk -v m=$mib '{printf "tavlox-http: %.3f s, %.0f MiB/s, peak %d KiB\n", $2, m/$2, $3}'
echo "$c" | awk -v m=$mib '{printf "curl:        %.3f s, %.0f MiB/s, peak %d KiB\n", $2, m/$2, $3}'
awk -v a="$(echo $t | cut -d' ' -f2)" -v b="$(echo $c | cut -d' ' -f2)" 'BEGIN{printf "throughput ratio tavlox-http/curl: %.2f\n", b/a}'

echo "== 256 MiB into memory"
m=$(measure memory "$tool" --body none --get "$big")
base=$(measure baseline "$tool" --body none --get "$small")
echo "$m $base" | awk '{printf "peak %d KiB for a %d KiB body; baseline (small body) %d KiB; peak - body - baseline = %d KiB\n", $3, 262144, $6, $3-262144-$6}'

echo "== 10,000 small requests on one connection"
n=${TAVLOX_BENCH_REQUESTS:-10000}
args=()
for i in $(seq $n); do args+=(--get "$small"); done
t=$(measure tavlox-http "$tool" --body none "${args[@]}")
printf 'output = "/dev/null"\nurl = "%s"\n' $(for i in $(seq $n); do echo "$small"; done) > "$work/curl.cfg"
c=$(measure curl curl -s -K "$work/curl.cfg")
echo "$t" | awk -v n=$n '{printf "tavlox-http: %.3f s, %.0f requests/s\n", $2, n/$2}'
echo "$c" | awk -v n=$n '{printf "curl:        %.3f s, %.0f requests/s\n", $2, n/$2}'
