#!/usr/bin/env python3
"""A loopback web server for the tests: serves the site/ folder, and can misbehave on request.

  site_server.py [--log FILE] --exec CMD [ARGS...]   serve while CMD runs, with TKD_TEST_SITE
                                                   set to http://127.0.0.1:PORT/; exit with its status
  site_server.py [--log FILE] --port-file FILE       serve until killed; FILE gets the port once ready

Paths:
  /PATH                   the site's file PATH (404 when there is none)
  /vNNN/PATH              the same site, but its newest-version page names NNN
  /test/404               404 whose body holds "[404]"
  /test/utf8, /test/gbk   a Chinese rank line, encoded in UTF-8 or GBK
  /test/size/N            a body of N bytes
  /test/big, /test/big-chunked
                          100 MB of body, with its length announced or in chunks
  /test/silent            takes the request and never answers
  /test/drip              announces 100 bytes and sends one a second
  /test/reset             resets the connection
  /test/redirect/N        N redirects before the answer; /test/loop redirects to itself
  /test/to-ftp            redirects to an ftp:// address
Every request's path is appended to the log file, one line each.
"""
import http.server
import os
import socket
import struct
import subprocess
import sys
import threading
import time

SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "site")
RANK_LINE = "排名：第15名"
BIG = 100 * 1024 * 1024


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    log_file = None
    lock = threading.Lock()

    def log_message(self, *args):
        pass

    def answer(self, status, body, headers=()):
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def redirect(self, to):
        self.answer(302, b"moved", [("Location", to)])

    def stream(self, total, chunked):
        self.send_response(200)
        self.send_header("Connection", "close")
        self.send_header("Transfer-Encoding" if chunked else "Content-Length", "chunked" if chunked else str(total))
        self.end_headers()
        block = b"0" * 65536
        try:
            for _ in range(total // len(block)):
                self.wfile.write(b"10000\r\n" + block + b"\r\n" if chunked else block)
        except OSError:
            pass  # the client gave up, as it should

    def do_GET(self):
        if Handler.log_file:
            with Handler.lock, open(Handler.log_file, "a", encoding="utf-8") as log:
                log.write(self.path + "\n")
        path = self.path.split("?")[0]
        parts = path.strip("/").split("/")
        if parts[0] == "test":
            return self.misbehave(parts[1:])
        newest = None
        if parts[0][:1] == "v" and parts[0][1:].isdigit():
            newest, path = parts[0][1:], "/" + "/".join(parts[1:])
        if newest is not None and path == "/tkd/newver.htm":
            return self.answer(200, ("<html><body>[" + newest + "]</body></html>").encode())
        file = os.path.normpath(os.path.join(SITE, path.lstrip("/")))
        if os.path.isdir(file):
            file = os.path.join(file, "index.htm")
        if not file.startswith(os.path.normpath(SITE)) or not os.path.isfile(file):
            return self.answer(404, b"<html><body>not found</body></html>")
        with open(file, "rb") as page:
            self.answer(200, page.read())

    def misbehave(self, what):
        name, arg = what[0] if what else "", what[1] if len(what) > 1 else ""
        if name == "404":
            self.answer(404, b"<html><body>[404]</body></html>")
        elif name in ("utf8", "gbk"):
            self.answer(200, RANK_LINE.encode("utf-8" if name == "utf8" else "gbk"))
        elif name == "size":
            self.answer(200, b"a" * int(arg))
        elif name in ("big", "big-chunked"):
            self.stream(BIG, name == "big-chunked")
        elif name == "silent":
            time.sleep(30)
        elif name == "drip":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            try:
                for _ in range(100):
                    self.wfile.write(b"x")
                    self.wfile.flush()
                    time.sleep(1)
            except OSError:
                pass
        elif name == "reset":
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
            self.close_connection = True
        elif name == "redirect":
            n = int(arg)
            self.redirect("/test/redirect/%d" % (n - 1)) if n > 0 else self.answer(200, b"arrived")
        elif name == "loop":
            self.redirect("/test/loop")
        elif name == "to-ftp":
            self.redirect("ftp://127.0.0.1/x")
        else:
            self.answer(404, b"no such test")


def main(argv):
    log, port_file, command = None, None, None
    while argv:
        option = argv.pop(0)
        if option == "--log":
            log = argv.pop(0)
        elif option == "--port-file":
            port_file = argv.pop(0)
        elif option == "--exec":
            command = argv
            break
        else:
            sys.exit(__doc__)
    Handler.log_file = log
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if command is None:
        if port_file:
            with open(port_file + ".new", "w") as f:
                f.write(str(port))
            os.replace(port_file + ".new", port_file)
        server.serve_forever()
        return 0
    threading.Thread(target=server.serve_forever, daemon=True).start()
    env = dict(os.environ, TKD_TEST_SITE="http://127.0.0.1:%d/" % port)
    return subprocess.call(command, env=env)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
