#!/usr/bin/env bash
# The match clock while the browser board is under load from the hall's
# network (tools/bench.sh hostile [seconds]): the real console with its
# scoreboard open and the board serving on loopback, idle and under each
# load; the clock's tick lateness and the program's peak memory each time.
#   wrk        wrk -t2 -c200 on /state.json
#   slowloris  slowhttptest, 1000 connections sending headers slowly
#   readers    200 connections from 8 addresses pipelining requests, never reading
#   pages      250 live pages from 8 addresses, read
set -euo pipefail
build="$1" seconds="${2:-40}"
for tool in wrk slowhttptest; do
  command -v "$tool" >/dev/null || apt-get install -y -q "$tool" >/dev/null
done
export QT_QPA_PLATFORM=offscreen
port=18765
readers() {
  python3 - "$port" "$seconds" <<'PY'
import socket, sys, time
port, seconds = int(sys.argv[1]), int(sys.argv[2])
request = b"GET /state.json HTTP/1.1\r\nHost: board\r\n\r\n" * 64
conns = []
for i in range(200):
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    s.bind(("127.0.0.%d" % (1 + i % 8), 0))
    s.connect(("127.0.0.1", port))
    s.setblocking(False)
    conns.append(s)
end = time.time() + seconds
while time.time() < end:
    for s in list(conns):
        try:
            s.send(request)
        except (BlockingIOError, OSError):
            pass
    time.sleep(0.2)
PY
}
for load in idle wrk slowloris readers pages; do
  "$build/bench/clock_bench" "$seconds" --serve "$port" >"$build/hostile-$load.txt" 2>/dev/null &
  clock=$!
  sleep 2
  case "$load" in
    wrk) wrk -t2 -c200 -d"$((seconds - 4))s" "http://127.0.0.1:$port/state.json" >/dev/null 2>&1 || true ;;
    slowloris) slowhttptest -c 1000 -H -i 10 -r 200 -t GET -u "http://127.0.0.1:$port/" -x 24 -p 3 \
                 -l "$((seconds - 4))" >/dev/null 2>&1 || true ;;
    readers) readers || true ;;
    pages) timeout "$((seconds - 4))" "$build/bench/browser_bench" --pages "$port" 250 >/dev/null 2>&1 || true ;;
  esac
  wait "$clock"
  printf '%-10s %s; %s\n' "$load" "$(grep -o 'median.*max [^ ]* ms' "$build/hostile-$load.txt")" \
    "$(grep -o 'peak memory.*' "$build/hostile-$load.txt")"
done
