#!/usr/bin/env python3
"""A local stand-in for the robots' webhook servers: webhook_server.py -- COMMAND...

Serves on 127.0.0.1 (a free port) and runs COMMAND with HALYARD_WEBHOOK_PORT and HALYARD_WEBHOOK_LOG
(a Windows path) set; exits with its code. Each request is logged as it arrives, one JSON line
{"path", "type", "body"}. The first path segment picks the answer: wecom (errcode 0), feishu
(code 0), refuse (errcode 93000), status500, html (not JSON), slow (3 s, then errcode 0),
slowonce (only the first request is slow), trickle (the answer one byte every 150 ms), and the
push services' answers (PUSH_ANSWERS). As a proxy it logs each CONNECT as {"path": "CONNECT
host:port"} and refuses it.

With openssl, HALYARD_WEBHOOK_OLD_TLS_PORT speaks only TLS 1.0 and 1.1 and logs each handshake
as {"path": "TLS", "body": the version agreed, or "failed"}.
"""
import http.server
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import warnings

warnings.simplefilter("ignore", DeprecationWarning)  # TLS 1.0 and 1.1 are wanted here

PUSH_ANSWERS = {  # success and refusal of Server酱 (code 0) and PushPlus (code 200; 900 a held account)
    "serverchan": '{"code":0,"message":"","data":{"pushid":"1","readkey":"r","error":"SUCCESS","errno":0}}',
    "serverchanbad": '{"code":40001,"message":"bad pushtoken","data":null}',
    "pushplus": '{"code":200,"msg":"请求成功","data":"0a1b2c"}',
    "pushplusbanned": '{"code":900,"msg":"用户账号使用受限","data":null}',
}
seen_paths = set()
seen_lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    log_path = None

    def record(self, path, body):
        log_line({"path": path, "type": self.headers.get("Content-Type", ""), "body": body})
        with seen_lock:
            first = path not in seen_paths
            seen_paths.add(path)
        return first

    def do_CONNECT(self):
        self.record("CONNECT " + self.path, "")
        self.answer(502, "text/plain", "no tunnel")

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length).decode("utf-8", "replace")
        first = self.record(self.path, body)
        kind = self.path.split("/")[1]
        if kind == "slow" or (kind == "slowonce" and first):
            time.sleep(3)
        if kind == "trickle":
            self.answer(200, "application/json", '{"errcode":0,"errmsg":"ok"}', 0.15)
        elif kind == "status500":
            self.answer(500, "text/plain", "server error")
        elif kind == "html":
            self.answer(200, "text/html", "<html>502 Bad Gateway</html>")
        elif kind == "refuse":
            self.answer(200, "application/json", '{"errcode":93000,"errmsg":"invalid webhook url"}')
        elif kind in PUSH_ANSWERS:
            self.answer(200, "application/json", PUSH_ANSWERS[kind])
        elif kind == "feishu":
            self.answer(200, "application/json", '{"code":0,"msg":"success","data":{}}')
        else:
            self.answer(200, "application/json", '{"errcode":0,"errmsg":"ok"}')

    def answer(self, status, content_type, text, pause=0.0):
        data = text.encode("utf-8")
        try:
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            pieces = [data[at:at + 1] for at in range(len(data))] if pause else [data]
            for piece in pieces:
                self.wfile.write(piece)
                self.wfile.flush()
                time.sleep(pause)
        except OSError:
            pass  # the client gave up waiting

    def log_message(self, *args):
        pass


def log_line(entry):
    with seen_lock, open(Handler.log_path, "a", encoding="utf-8") as log:
        log.write(json.dumps(entry, ensure_ascii=False) + "\n")


def start_old_tls_server(folder):
    """Serves TLS 1.0/1.1 only on a free port and answers its number; None without openssl."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    if not shutil.which("openssl") or subprocess.call(
            ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days",
             "2", "-subj", "/CN=127.0.0.1"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL):
        return None
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.minimum_version, context.maximum_version = ssl.TLSVersion.TLSv1, ssl.TLSVersion.TLSv1_1
    context.set_ciphers("DEFAULT:@SECLEVEL=0")
    context.load_cert_chain(cert, key)
    listener = socket.create_server(("127.0.0.1", 0))

    def serve():
        while True:
            connection, _ = listener.accept()
            try:
                with context.wrap_socket(connection, server_side=True) as secure:
                    log_line({"path": "TLS", "body": secure.version()})
            except (OSError, ssl.SSLError):
                log_line({"path": "TLS", "body": "failed"})
    threading.Thread(target=serve, daemon=True).start()
    return listener.getsockname()[1]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def main():
    command = sys.argv[sys.argv.index("--") + 1:] if "--" in sys.argv else []
    if not command:
        print(__doc__)
        return 2
    with tempfile.TemporaryDirectory() as folder:
        Handler.log_path = os.path.join(folder, "requests.jsonl")
        open(Handler.log_path, "w").close()
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        server.daemon_threads = True
        threading.Thread(target=server.serve_forever, daemon=True).start()
        env = dict(os.environ, HALYARD_WEBHOOK_PORT=str(server.server_address[1]),
                   HALYARD_WEBHOOK_LOG=windows_path(Handler.log_path))
        old_tls_port = start_old_tls_server(folder)
        if old_tls_port:
            env["HALYARD_WEBHOOK_OLD_TLS_PORT"] = str(old_tls_port)
        try:
            return subprocess.call(command, env=env)
        finally:
            server.shutdown()


if __name__ == "__main__":
    sys.exit(main())
