#!/usr/bin/env python3
"""Demo portal for Tavlox: the three servers the program talks to, on loopback.

  content server (default port 38080): "/", "/left2/menu.htm", "/box/", "/box/google.html",
                                       "/box/text.html", "/mini.php", "/box/list.htm"
  update server  (default port 38081): "/tavlox/ver.txt"
  vendor server  (default port 38082): "/QvodSetup3_blue.exe" (HEAD and GET), "/"

Every request line is logged with its User-Agent, one line per request, to stderr and (with
--log) to a file, as

  <unix time> <server> <client port> "<request line>" UA="<user agent>"

Standard library only. Each server answers many connections at once (one thread per
connection) and keeps HTTP/1.1 connections alive, so a HEAD and a GET may share one connection.

  portal.py [--installer FILE] [--log FILE] [options]   serve until SIGINT/SIGTERM
  portal.py --wait-ready [--timeout S]                  exit 0 once all three ports accept
"""

import argparse
import codecs
import html
import os
import signal
import socket
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

DEFAULT_PORTS = {"content": 38080, "update": 38081, "vendor": 38082}
INSTALLER_PATH = "/QvodSetup3_blue.exe"
VER_PATH = "/tavlox/ver.txt"

# Installer behaviours that the program's failure paths are tested against.
INSTALLER_MODES = {
    "normal": "HEAD and GET with Content-Length, whole body",
    "no-length": "HEAD answered without Content-Length (GET as normal)",
    "truncated": "GET announces the full length but sends half the body, then closes",
    "silent": "accept the connection and never answer (closed after --silent-seconds)",
    "redirect": "302 to the vendor home page for HEAD and GET",
    "error": "500 for HEAD and GET",
    "missing": "404 for HEAD and GET",
}
VER_MODES = ("serve", "absent", "redirect", "error", "silent")


# ----------------------------------------------------------------------------------------------
# Pages of the content server. Links to mini.php come in the forms the menu pane has to route:
# plain with a query, capitalised (must not be routed), and mini.php inside another page's query.

def page(title, body):
    return ("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%s</title></head>\n"
            "<body>\n%s\n</body></html>\n" % (html.escape(title), body)).encode("utf-8")


def content_pages():
    menu_links = [
        ("/mini.php?id=101&amp;type=movie", "动作片 (mini.php)"),
        ("../mini.php?id=102&amp;type=tv", "电视剧 (mini.php, relative)"),
        ("/Mini.php?id=103", "纪录片 (Mini.php, stays in the menu)"),
        ("/box/list.htm?from=mini.php&amp;page=2", "排行榜 (list, query names mini.php)"),
        ("/box/", "首页 (box)"),
    ]
    menu = "<ul>\n" + "".join('<li><a href="%s">%s</a></li>\n' % (href, text)
                              for href, text in menu_links) + "</ul>"
    return {
        "/": page("栎岚电影院", "<h1>栎岚电影院</h1>\n<p><a href=\"/box/\">进入影院</a></p>"),
        "/left2/menu.htm": page("菜单", "<h3>栏目</h3>\n" + menu),
        "/box/": page("影院", "<h2>最新影片</h2>\n<p><a href=\"/mini.php?id=1\">影片一</a></p>"),
        "/box/google.html": page("顶部", "<form action=\"/box/list.htm\"><input name=\"q\">"
                                 "<input type=\"submit\" value=\"搜索\"></form>"),
        "/box/text.html": page("公告", "<marquee>欢迎光临栎岚电影院</marquee>"),
        "/box/list.htm": page("列表", "<p>列表</p>"),
        "/mini.php": page("播放", "<p>mini.php: 播放页</p>"),
        "/Mini.php": page("播放", "<p>Mini.php</p>"),
    }


VENDOR_HOME = page("QVOD", "<h1>QVOD 播放器</h1>\n<p><a href=\"%s\">下载</a></p>" % INSTALLER_PATH)


# ----------------------------------------------------------------------------------------------

class RequestLog:
    """One line per request, to stderr and an optional file, safe across threads."""

    def __init__(self, path):
        self.lock = threading.Lock()
        self.file = open(path, "a", encoding="utf-8", buffering=1) if path else None

    @staticmethod
    def clean(text):
        # A request line is attacker-controlled: keep each entry on one printable line.
        return "".join(c if c.isprintable() and c != '"' else "\\x%02x" % ord(c) if ord(c) < 256
                       else "\\u%04x" % ord(c) for c in text)

    def request(self, server, client_port, request_line, user_agent):
        line = '%.3f %s %d "%s" UA="%s"' % (time.time(), server, client_port,
                                            self.clean(request_line), self.clean(user_agent or ""))
        with self.lock:
            print(line, file=sys.stderr, flush=True)
            if self.file:
                self.file.write(line + "\n")
                self.file.flush()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "TavloxDemoPortal/1.0"

    def version_string(self):
        return self.server_version
    timeout = 60  # an idle keep-alive connection is dropped after a minute

    # --- plumbing --------------------------------------------------------------------------

    def log_message(self, fmt, *args):  # the request log below replaces the default one
        pass

    def log_error(self, fmt, *args):
        # Malformed requests (parse errors) are logged too, so that a test sees every request.
        if getattr(self, "_logged", False) or not getattr(self, "raw_requestline", b""):
            return
        self._logged = True
        line = self.raw_requestline.decode("latin-1").rstrip("\r\n")
        self.server.log.request(self.server.name, self.client_address[1], line, "")

    def setup(self):
        super().setup()
        # Headers and body go out in separate writes; without this a keep-alive client waits
        # for its delayed acknowledgement (about 40 ms) on every response.
        self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def handle_one_request(self):
        self._logged = False
        super().handle_one_request()

    def parse_request(self):
        ok = super().parse_request()
        if ok:
            self._logged = True
            self.server.log.request(self.server.name, self.client_address[1], self.requestline,
                                    self.headers.get("User-Agent"))
        return ok

    def drain_body(self):
        # Keep the connection in step when a client sends a body we do not use.
        try:
            length = int(self.headers.get("Content-Length") or 0)
        except ValueError:
            length = -1
        if length < 0 or length > 1 << 20:
            self.close_connection = True
            return
        if length:
            self.rfile.read(length)

    def reply(self, status, body=b"", ctype="text/html; charset=utf-8", extra=(), length=True):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        if length:
            self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        if self.close_connection:
            self.send_header("Connection", "close")
        self.end_headers()
        if self.command != "HEAD" and body:
            self.wfile.write(body)

    def not_found(self):
        self.reply(404, page("404", "<p>Not Found</p>"))

    def hold_silent(self):
        # Accept and say nothing: the client has to give up on its own. Bounded, so that the
        # server never keeps a thread forever.
        self.close_connection = True
        deadline = time.monotonic() + self.server.options.silent_seconds
        self.connection.settimeout(0.2)
        while time.monotonic() < deadline and not self.server.stopping.is_set():
            try:
                if self.connection.recv(4096) == b"":
                    return  # the client went away
            except socket.timeout:
                continue
            except OSError:
                return

    # --- methods ---------------------------------------------------------------------------

    def do_GET(self):
        self.drain_body()
        path = self.path.split("?", 1)[0].split("#", 1)[0]
        getattr(self, "serve_" + self.server.name)(path)

    do_HEAD = do_GET

    def do_POST(self):
        self.drain_body()
        self.reply(405, page("405", "<p>Method Not Allowed</p>"), extra=[("Allow", "GET, HEAD")])

    # --- the three servers -----------------------------------------------------------------

    def serve_content(self, path):
        body = self.server.pages.get(path)
        if body is None:
            self.not_found()
        else:
            self.reply(200, body)

    def serve_update(self, path):
        opts = self.server.options
        if path != VER_PATH or opts.ver_mode == "absent":
            self.not_found()
        elif opts.ver_mode == "redirect":
            self.reply(302, b"", extra=[("Location", "http://%s:%d%s" % (
                opts.host, opts.update_port, "/tavlox/ver2.txt"))])
        elif opts.ver_mode == "error":
            self.reply(500, page("500", "<p>Internal Server Error</p>"))
        elif opts.ver_mode == "silent":
            self.hold_silent()
        else:
            self.reply(200, opts.ver_bytes, ctype="text/plain")

    def serve_vendor(self, path):
        opts = self.server.options
        if path == "/":
            self.reply(200, VENDOR_HOME)
            return
        if path != INSTALLER_PATH:
            self.not_found()
            return
        mode = opts.installer_mode
        data = self.server.installer_bytes()
        if data is None or mode == "missing":
            self.not_found()
        elif mode == "redirect":
            self.reply(302, b"", extra=[("Location", "http://%s:%d/" % (opts.host, opts.vendor_port))])
        elif mode == "error":
            self.reply(500, page("500", "<p>Internal Server Error</p>"))
        elif mode == "silent":
            self.hold_silent()
        elif mode == "no-length" and self.command == "HEAD":
            self.reply(200, b"", ctype="application/octet-stream", length=False)
        elif mode == "truncated" and self.command == "GET":
            self.close_connection = True
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(data)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(data[: len(data) // 2])
            self.wfile.flush()
        else:
            self.reply(200, data, ctype="application/octet-stream")


class PortalServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True  # TIME_WAIT leftovers only; a live listener still blocks the bind
    request_queue_size = 64     # the program opens its four panes' connections at once

    def __init__(self, name, port, options, log, stopping):
        self.name = name
        self.options = options
        self.log = log
        self.stopping = stopping
        self.pages = content_pages()
        super().__init__((options.host, port), Handler)

    def installer_bytes(self):
        # Read per request, so that a test may replace the file while the portal runs.
        if not self.options.installer:
            return None
        try:
            with open(self.options.installer, "rb") as f:
                return f.read()
        except OSError:
            return None


# ----------------------------------------------------------------------------------------------

def wait_ready(host, ports, timeout):
    deadline = time.monotonic() + timeout
    pending = list(ports)
    while pending:
        port = pending[0]
        try:
            with socket.create_connection((host, port), timeout=0.5):
                pending.pop(0)
                continue
        except OSError:
            pass
        if time.monotonic() >= deadline:
            print("portal: port %d on %s does not accept connections after %g s"
                  % (port, host, timeout), file=sys.stderr)
            return 1
        time.sleep(0.05)
    return 0


def parse_args(argv):
    p = argparse.ArgumentParser(description="Tavlox demo portal (content, update and vendor servers)")
    p.add_argument("--host", default="127.0.0.1")
    p.add_argument("--content-port", type=int, default=DEFAULT_PORTS["content"])
    p.add_argument("--update-port", type=int, default=DEFAULT_PORTS["update"])
    p.add_argument("--vendor-port", type=int, default=DEFAULT_PORTS["vendor"])
    p.add_argument("--log", help="append the request log to this file too")
    p.add_argument("--installer", help="file served as %s" % INSTALLER_PATH)
    p.add_argument("--installer-mode", choices=sorted(INSTALLER_MODES), default="normal",
                   help="; ".join("%s: %s" % kv for kv in INSTALLER_MODES.items()))
    p.add_argument("--ver", default="1",
                   help="content of %s; backslash escapes allowed, e.g. '13\\r\\n'" % VER_PATH)
    p.add_argument("--ver-mode", choices=VER_MODES, default="serve",
                   help="serve the text, answer 404 (absent), 302, 500, or never answer")
    p.add_argument("--silent-seconds", type=float, default=30.0,
                   help="how long a silent server holds a connection")
    p.add_argument("--until-stdin-closes", action="store_true",
                   help="stop when standard input reaches its end (a test's pipe: the portal then "
                        "never outlives the test, even when the test is killed)")
    p.add_argument("--wait-ready", action="store_true",
                   help="do not serve: exit 0 once the three ports accept connections")
    p.add_argument("--timeout", type=float, default=15.0, help="bound of --wait-ready, seconds")
    opts = p.parse_args(argv)
    for name in ("content_port", "update_port", "vendor_port"):
        if not 0 < getattr(opts, name) < 65536:
            p.error("--%s must be 1..65535" % name.replace("_", "-"))
    try:
        opts.ver_bytes = codecs.decode(opts.ver, "unicode_escape").encode("latin-1")
    except (UnicodeError, ValueError) as e:
        p.error("--ver: %s" % e)
    return opts


def main(argv):
    opts = parse_args(argv)
    ports = {"content": opts.content_port, "update": opts.update_port, "vendor": opts.vendor_port}
    if opts.wait_ready:
        return wait_ready(opts.host, ports.values(), opts.timeout)
    if opts.installer and not os.path.isfile(opts.installer):
        print("portal: warning: installer %s not found; %s answers 404"
              % (opts.installer, INSTALLER_PATH), file=sys.stderr)

    log = RequestLog(opts.log)
    stopping = threading.Event()
    servers = []
    try:
        for name, port in ports.items():
            servers.append(PortalServer(name, port, opts, log, stopping))
    except OSError as e:
        print("portal: cannot listen on %s port %d: %s" % (opts.host, port, e), file=sys.stderr)
        for s in servers:
            s.server_close()
        return 1

    threads = [threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True)
               for s in servers]
    for t in threads:
        t.start()
    print("portal: listening on %s: content %d, update %d, vendor %d"
          % (opts.host, opts.content_port, opts.update_port, opts.vendor_port), file=sys.stderr,
          flush=True)

    def stop(signum, frame):
        stopping.set()
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    if opts.until_stdin_closes:
        def watch_stdin():
            while sys.stdin.buffer.read(4096):
                pass
            stopping.set()
        threading.Thread(target=watch_stdin, daemon=True).start()
    while not stopping.wait(0.1):
        pass
    for s in servers:
        s.shutdown()
        s.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
