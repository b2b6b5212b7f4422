"""The group robots' webhook server on loopback, as the soak plays it: answering, refusing
connections, answering slowly, answering errors, switched by the fault schedule's times. A path
that begins /serverchan or /pushplus is answered as that push service answers.

Every request that arrives is logged, one JSON line {"t", "mode", "body"}.
"""
import http.server
import json
import threading
import time

SLOW_S = 6
# (success, refusal) of each kind, as the services document them.
ANSWERS = {
    "robot": ('{"errcode":0,"errmsg":"ok"}', '{"errcode":93000,"errmsg":"invalid webhook url"}'),
    "serverchan": ('{"code":0,"message":"","data":{"pushid":"1"}}', '{"code":40001,"message":"bad pushtoken"}'),
    "pushplus": ('{"code":200,"msg":"请求成功","data":"1"}', '{"code":900,"msg":"用户账号使用受限"}'),
}


class Handler(http.server.BaseHTTPRequestHandler):
    stand_in = None

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length).decode("utf-8", "replace")
        mode = self.stand_in.mode
        self.stand_in.log(mode, body)
        success, refusal = ANSWERS.get(self.path.split("/")[1], ANSWERS["robot"])
        if mode == "slow":
            time.sleep(SLOW_S)
        if mode == "error":
            self.stand_in.errors += 1
            # Alternately a server error and a robot's refusal.
            if self.stand_in.errors % 2:
                self.answer(500, "text/plain", "server error")
            else:
                self.answer(200, "application/json", refusal)
        else:
            self.answer(200, "application/json", success)

    def answer(self, status, content_type, text):
        data = text.encode("utf-8")
        try:
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
        except OSError:
            pass  # the sender gave up waiting

    def log_message(self, *args):
        pass


class WebhookStandIn:
    def __init__(self, log_path, schedule):
        """schedule: (ms, mode) sorted, counted from start(); modes normal, refuse, slow, error."""
        self.log_path, self.schedule = log_path, schedule
        self.mode, self.errors, self.server, self.port = "normal", 0, None, 0
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        Handler.stand_in = self
        self.listen()

    def listen(self):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", self.port), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def log(self, mode, body):
        with self.lock, open(self.log_path, "a", encoding="utf-8") as log:
            log.write(json.dumps({"t": int((time.monotonic() - self.started) * 1000), "mode": mode,
                                  "body": body}, ensure_ascii=False) + "\n")

    def start(self):
        self.started = time.monotonic()
        threading.Thread(target=self.play, daemon=True).start()

    def play(self):
        for at_ms, mode in self.schedule:
            if self.stopping.wait(max(0, at_ms / 1000 - (time.monotonic() - self.started))):
                return
            if mode == "refuse" and self.server:
                self.server.shutdown()
                self.server.server_close()
                self.server = None
            elif mode != "refuse" and not self.server:
                self.listen()
            self.mode = mode

    def stop(self):
        self.stopping.set()
        if self.server:
            self.server.shutdown()
            self.server.server_close()
