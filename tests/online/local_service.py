#!/usr/bin/env python3
"""A small HTTPS service on the loopback address for the online tests.

    local_service.py --dir <state dir>

Serves <dir>/www/<path>. A file <path>.meta beside it (JSON) changes how:
  "status": the HTTP status (default 200, 404 when the file is missing);
  "stall": seconds to wait before answering (at most 20);
  "length": "exact" (default), "absent" (chunked, no Content-Length) or
            "zero" (Content-Length: 0 and no body);
  "fill": serve this many bytes of "x" instead of a file;
  "signOf": serve the signature of this sibling file, made by
            scripts/sign-manifest.py with <dir>/test-key.pem.
A POST is answered as a GET of its path, after its body is stored as
<dir>/www/<path>.received for the test to read.
Writes the port it listens on to <dir>/port. Bounded: it answers at most
MAX_REQUESTS requests and ends after LIFETIME_SECONDS whatever happens.
"""
import argparse
import http.server
import json
import os
import pathlib
import ssl
import subprocess
import sys
import threading
import time

MAX_REQUESTS = 5000
LIFETIME_SECONDS = 30 * 60
MAX_STALL_SECONDS = 20
SIGN_SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "sign-manifest.py"


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = 30

    def log_message(self, format, *args):
        sys.stderr.write("%s %s\n" % (time.strftime("%H:%M:%S"), format % args))

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length) if length > 0 else b""
        www = self.server.root / "www"
        target = (www / self.path.split("?", 1)[0].lstrip("/")).resolve()
        if www.resolve() in target.parents:
            received = target.with_name(target.name + ".received")
            received.with_name(received.name + ".tmp").write_bytes(body)
            os.replace(received.with_name(received.name + ".tmp"), received)
        self.do_GET()

    def do_GET(self):
        self.server.count += 1
        if self.server.count > MAX_REQUESTS:
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            self.answer(503, b"too many requests", {})
            return
        www = self.server.root / "www"
        relative = self.path.split("?", 1)[0].lstrip("/")
        target = (www / relative).resolve()
        if www.resolve() not in target.parents:
            self.answer(404, b"outside", {})
            return
        meta = {}
        meta_path = target.with_name(target.name + ".meta")
        if meta_path.is_file():
            meta = json.loads(meta_path.read_text())
        time.sleep(min(float(meta.get("stall", 0)), MAX_STALL_SECONDS))
        if "fill" in meta:
            body = b"x" * int(meta["fill"])
        elif "signOf" in meta:
            signature = target.with_name(target.name + ".made")
            subprocess.run([sys.executable, str(SIGN_SCRIPT), str(self.server.root / "test-key.pem"),
                            str(target.with_name(meta["signOf"])), str(signature)], check=True, timeout=30)
            body = signature.read_bytes()
        elif target.is_file():
            body = target.read_bytes()
        else:
            self.answer(404, b"not found", {})
            return
        self.answer(int(meta.get("status", 200)), body, meta)

    def answer(self, status, body, meta):
        length = meta.get("length", "exact")
        self.send_response(status)
        self.send_header("Connection", "close")
        if length == "absent":
            self.send_header("Transfer-Encoding", "chunked")
        elif length == "zero":
            self.send_header("Content-Length", "0")
        else:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if length == "absent":
            for start in range(0, len(body), 65536):
                part = body[start:start + 65536]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(part), part))
            self.wfile.write(b"0\r\n\r\n")
        elif length != "zero":
            self.wfile.write(body)
        self.close_connection = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    arguments = parser.parse_args()
    root = pathlib.Path(arguments.dir)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root = root
    server.count = 0
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(root / "server.pem", root / "server.key")
    server.socket = context.wrap_socket(server.socket, server_side=True)
    timer = threading.Timer(LIFETIME_SECONDS, server.shutdown)
    timer.daemon = True
    timer.start()
    port_file = root / "port"
    (root / "port.tmp").write_text(str(server.server_address[1]))
    os.replace(root / "port.tmp", port_file)
    try:
        server.serve_forever(poll_interval=0.5)
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
