#!/usr/bin/env bash
# Starts and stops the local HTTPS service the online tests talk to: a test
# CA and a certificate for "localhost" made here with openssl, a test signing
# key, the Python server on 127.0.0.1, and the CA trusted in the test prefix
# (WinHTTP there validates against the current user's root store). Stopping
# removes the CA from the prefix and deletes everything it made.
#
#   local-service.sh start <build dir>
#   local-service.sh stop  <build dir>
set -uo pipefail

command=${1:?command}
build=$(cd "${2:?build dir}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
dir=$build/online-service
wine_env=$here/../harness/wine-env.sh
trust=$build/bin/trust_test_ca.exe

log() { echo "[local-service] $*" >&2; }

make_certificates() {
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Cadrels Test CA" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
        -keyout "$dir/ca.key" -out "$dir/ca.pem" 2>>"$dir/openssl.log" &&
        openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
            -keyout "$dir/server.key" -out "$dir/server.csr" 2>>"$dir/openssl.log" &&
        printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\nkeyUsage=critical,digitalSignature,keyEncipherment\n' \
            >"$dir/server.ext" &&
        openssl x509 -req -days 2 -in "$dir/server.csr" -CA "$dir/ca.pem" -CAkey "$dir/ca.key" \
            -CAcreateserial -extfile "$dir/server.ext" -out "$dir/server.pem" 2>>"$dir/openssl.log" &&
        openssl x509 -in "$dir/ca.pem" -outform DER -out "$dir/ca.der" &&
        openssl ecparam -name prime256v1 -genkey -noout -out "$dir/test-key.pem" 2>>"$dir/openssl.log" &&
        openssl ec -in "$dir/test-key.pem" -pubout -outform DER 2>>"$dir/openssl.log" |
        tail -c 64 | od -An -v -tx1 | tr -d ' \n' >"$dir/test-key.pub"
}

start() {
    stop_server
    rm -rf "$dir"
    mkdir -p "$dir/www"
    if ! make_certificates; then
        log "openssl failed (see $dir/openssl.log)"
        return 1
    fi
    setsid nohup python3 "$here/local_service.py" --dir "$dir" >"$dir/server.log" 2>&1 </dev/null &
    echo $! >"$dir/pid"
    for _ in $(seq 1 100); do
        [ -s "$dir/port" ] && break
        sleep 0.1
    done
    if [ ! -s "$dir/port" ]; then
        log "the server did not start (see $dir/server.log)"
        return 1
    fi
    # A separate, earlier process must add the CA: WinHTTP in a process
    # reads the root store once.
    if ! "$wine_env" run "$build" 60 "$trust" add "Z:${dir//\//\\}\\ca.der"; then
        log "could not trust the test CA"
        return 1
    fi
    log "listening on https://localhost:$(cat "$dir/port")"
}

stop_server() {
    if [ -f "$dir/pid" ]; then
        kill "$(cat "$dir/pid")" 2>/dev/null
        rm -f "$dir/pid"
    fi
}

stop() {
    local code=0
    if [ -f "$dir/ca.der" ]; then
        "$wine_env" run "$build" 60 "$trust" remove "Z:${dir//\//\\}\\ca.der" || code=1
        # Wine's store reports the deletion but keeps the registry copy, so the
        # certificate's key goes too (named by its SHA-1 thumbprint).
        local thumbprint
        thumbprint=$(openssl x509 -in "$dir/ca.pem" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
        "$wine_env" shell "$build" wine reg delete \
            "HKCU\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$thumbprint" /f \
            >/dev/null 2>&1 </dev/null
    fi
    stop_server
    rm -rf "$dir"
    log "stopped"
    return $code
}

case $command in
start) start ;;
stop) stop ;;
*)
    log "unknown command $command"
    exit 2
    ;;
esac
