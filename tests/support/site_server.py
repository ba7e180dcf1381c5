#!/usr/bin/env python3
"""Loopback web server for the tests: the site/ folder, and misbehaviour on request.

  site_server.py [--log FILE] --exec CMD...   serve while CMD runs (TKD_TEST_SITE=http://127.0.0.1:PORT/)
  site_server.py [--log FILE] --port-file F   serve until killed; F gets the port once ready
/vNNN/PATH serves the site with NNN as the newest version; /test/... misbehaves (see misbehave).
It is its own proxy too (a GET of http://HOST/PATH), named localhost in the tests' settings.
Each request's path is appended to the log file.
"""
import http.server, os, re, socket, struct, subprocess, sys, threading, time

SITE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "site"))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    log_file = None
    lock = threading.Lock()

    def log_message(self, *args):
        pass

    def answer(self, status, body, headers=()):
        self.send_response(status)
        for name, value in [("Content-Length", str(len(body))), ("Connection", "close"), *headers]:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def trickle(self, header, blocks, pause=0):
        self.send_response(200)
        self.send_header(*header)
        self.send_header("Connection", "close")
        self.end_headers()
        try:
            for block in blocks:
                self.wfile.write(block)
                time.sleep(pause)
        except OSError:
            pass  # the client gave up, as it should

    def do_GET(self):
        self.proxied = self.path.startswith("http://")  # a request to the proxy
        self.path = re.sub("^http://[^/]*", "", self.path) or "/"
        if Handler.log_file:
            with Handler.lock, open(Handler.log_file, "a") as log:
                log.write(self.path + "\n")
        parts = self.path.split("?")[0].strip("/").split("/")
        if parts[0] == "test":
            return self.misbehave(parts[1], parts[2] if len(parts) > 2 else "")
        if parts[0][:1] == "v" and parts[0][1:].isdigit():
            if parts[1:] == ["tkd", "newver.htm"]:
                return self.answer(200, b"<html><body>[" + parts[0][1:].encode() + b"]</body></html>")
            parts = parts[1:]
        file = os.path.normpath(os.path.join(SITE, *parts))
        file = os.path.join(file, "index.htm") if os.path.isdir(file) else file
        if not file.startswith(SITE) or not os.path.isfile(file):
            return self.answer(404, b"not found")
        with open(file, "rb") as page:
            self.answer(200, page.read())

    def misbehave(self, name, arg):
        big = (b"0" * 65536 for _ in range(1600))  # 100 MB
        if name == "404":
            self.answer(404, b"<html><body>[404]</body></html>")
        elif name in ("utf8", "gbk"):
            self.answer(200, "排名：第15名".encode("utf-8" if name == "utf8" else "gbk"))
        elif name == "size":
            self.answer(200, b"a" * int(arg))
        elif name == "big":
            self.trickle(("Content-Length", str(1600 * 65536)), big)
        elif name == "big-chunked":
            self.trickle(("Transfer-Encoding", "chunked"), [b"10000\r\n" + next(big) + b"\r\n"] * 1600 + [b"0\r\n\r\n"])
        elif name == "drip":  # one byte a second
            self.trickle(("Content-Length", "100"), (b"x" for _ in range(100)), 1)
        elif name == "silent":
            time.sleep(30)
        elif name == "reset":
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
            self.close_connection = True
        elif name == "redirect":  # N redirects, then the answer
            n = int(arg)
            self.answer(302, b"", [("Location", "/test/redirect/%d" % (n - 1))]) if n else self.answer(200, b"arrived")
        elif name == "status":  # that status, without a Location
            self.answer(int(arg), b"status " + arg.encode())
        elif name == "proxied":  # whether the request came through the proxy
            self.answer(200, b"proxied" if self.proxied else b"direct")
        elif name == "pac":  # a proxy auto-config script: DIRECT, or this server as the proxy
            verdict = "DIRECT" if arg == "direct" else "PROXY localhost:%d" % self.server.server_address[1]
            self.answer(200, b'function FindProxyForURL(url, host) { return "%s"; }' % verdict.encode())
        else:
            self.answer(404, b"no such test")


def main(argv):
    options = {}
    while argv and argv[0] in ("--log", "--port-file"):
        options[argv[0]] = argv[1]
        argv = argv[2:]
    Handler.log_file = options.get("--log")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if argv[:1] == ["--exec"]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
        # http_proxy: WinHTTP's default proxy in Wine, which speaks to it as a proxy only by another name.
        site, proxy = "http://127.0.0.1:%d/" % port, "http://localhost:%d" % port
        return subprocess.call(argv[1:], env=dict(os.environ, TKD_TEST_SITE=site, http_proxy=proxy))
    if "--port-file" not in options:
        sys.exit(__doc__)
    with open(options["--port-file"] + ".new", "w") as f:
        f.write(str(port))
    os.replace(options["--port-file"] + ".new", options["--port-file"])
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
