#!/usr/bin/env bash
# Sets up and builds, starts a legacy TLS demo server on 127.0.0.1 with a fresh certificate,
# fetches its certificate with TarnwickCli and shows it decoded.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh demo
cmake --preset native >/dev/null
cmake --build --preset native --target TarnwickCli >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null

work=$(mktemp -d)
server=
# The demo's own outcome is the script's status; the stopped server's is not.
cleanup() {
  local status=$?
  if [[ -n $server ]]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" \
  -days 1 -subj "/CN=demo.localhost/O=Quennet demo" 2>/dev/null
port=$(cd tests && python3 -c 'import programs; print(programs.free_port())')
gnutls-serv --x509certfile "$work/cert.pem" --x509keyfile "$work/key.pem" --port "$port" \
  --priority "NORMAL:+VERS-TLS1.0:+3DES-CBC:+ARCFOUR-128:+RSA:+SHA1:+MD5:%COMPAT" \
  >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done

build/native/cert_fetch/TarnwickCli 127.0.0.1 "$port" "$work/server.der"
# The fetcher tells its outcome only in text; the file is the demo's proof.
if [[ ! -f $work/server.der ]]; then
  echo "Demo failed: no certificate was saved (server log below)." >&2
  cat "$work/server.log" >&2
  exit 1
fi
echo
echo "Saved certificate, decoded:"
openssl x509 -inform der -in "$work/server.der" -noout -subject -issuer -dates -fingerprint -sha256
echo "Windows images: build/windows/cert_fetch/TarnwickCli.exe build/windows/ipv6_switch/BrellowCli.exe"
