#!/usr/bin/env python3
"""Tests of the demo portal: it runs as a real process on free loopback ports and is talked to
over raw sockets, as the program's HTTP client would."""

import os
import socket
import subprocess
import sys
import tempfile
import time
import unittest

PORTAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "portal.py")


def free_ports(n):
    socks = []
    for _ in range(n):
        s = socket.socket()
        s.bind(("127.0.0.1", 0))
        socks.append(s)
    ports = [s.getsockname()[1] for s in socks]
    for s in socks:
        s.close()
    return ports


def read_response(sock, head_only=False):
    """Reads one response; returns (status, headers dict, body, connection still open)."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(65536)
        if not chunk:
            raise AssertionError("connection closed inside the headers: %r" % data)
        data += chunk
    head, _, rest = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split(" ")[1])
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    if head_only:
        return status, headers, rest, True
    body = rest
    if "content-length" in headers:
        want = int(headers["content-length"])
        while len(body) < want:
            chunk = sock.recv(65536)
            if not chunk:
                return status, headers, body, False
            body += chunk
        return status, headers, body, True
    while True:
        chunk = sock.recv(65536)
        if not chunk:
            return status, headers, body, False
        body += chunk


class Portal:
    def __init__(self, *args, installer=b"MZ" + bytes(range(256)) * 40):
        self.dir = tempfile.TemporaryDirectory()
        self.installer = os.path.join(self.dir.name, "inst.exe")
        with open(self.installer, "wb") as f:
            f.write(installer)
        self.installer_bytes = installer
        self.log = os.path.join(self.dir.name, "portal.log")
        self.ports = dict(zip(("content", "update", "vendor"), free_ports(3)))
        self.port_args = ["--content-port", str(self.ports["content"]), "--update-port",
                          str(self.ports["update"]), "--vendor-port", str(self.ports["vendor"])]
        self.proc = subprocess.Popen([sys.executable, PORTAL, "--installer", self.installer,
                                      "--log", self.log] + self.port_args + list(args),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        rc = subprocess.call([sys.executable, PORTAL, "--wait-ready", "--timeout", "10"] + self.port_args)
        if rc != 0:
            self.close()
            raise AssertionError("portal did not start: %s" % self.proc.stderr.read())

    def connect(self, server):
        s = socket.create_connection(("127.0.0.1", self.ports[server]), timeout=10)
        return s

    def exchange(self, server, *requests, head_only=()):
        """Sends the requests one after another on one connection."""
        with self.connect(server) as s:
            out = []
            for i, req in enumerate(requests):
                s.sendall(req)
                out.append(read_response(s, head_only=i in head_only))
            return out

    def log_lines(self):
        with open(self.log, encoding="utf-8") as f:
            return [line.rstrip("\n") for line in f]

    def close(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.proc.stderr.close()
        self.dir.cleanup()


def get(path, method="GET", ua=None, extra=""):
    ua_line = "User-Agent: %s\r\n" % ua if ua is not None else ""
    return ("%s %s HTTP/1.1\r\nHost: 127.0.0.1\r\n%s%s\r\n" % (method, path, ua_line, extra)).encode("latin-1")


class NormalPortal(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.portal = Portal()

    @classmethod
    def tearDownClass(cls):
        cls.portal.close()

    def test_pages_of_the_content_server(self):
        cases = [
            ("/", 200), ("/left2/menu.htm", 200), ("/box/", 200), ("/box/google.html", 200),
            ("/box/text.html", 200), ("/mini.php?id=7", 200), ("/Mini.php?id=7", 200),
            ("/box/list.htm?from=mini.php", 200), ("/box", 404), ("/left2/", 404), ("/tavlox/ver.txt", 404),
        ]
        responses = self.portal.exchange("content", *[get(p) for p, _ in cases])
        for (path, want), (status, headers, body, alive) in zip(cases, responses):
            with self.subTest(path=path):
                self.assertEqual(status, want)
                self.assertEqual(int(headers["content-length"]), len(body))
                self.assertTrue(alive)

    def test_menu_links_cover_the_routing_cases(self):
        ((status, _, body, _),) = self.portal.exchange("content", get("/left2/menu.htm"))
        text = body.decode("utf-8")
        self.assertEqual(status, 200)
        self.assertIn('href="/mini.php?', text)           # routed, with a query
        self.assertIn('href="/Mini.php?', text)           # capital M: not routed
        self.assertRegex(text, r'href="/box/list\.htm\?[^"]*mini\.php')  # mini.php in another page's query

    def test_head_then_get_on_one_connection(self):
        (hs, hh, hbody, _), (gs, gh, gbody, alive) = self.portal.exchange(
            "vendor", get("/QvodSetup3_blue.exe", "HEAD"), get("/QvodSetup3_blue.exe"), head_only=(0,))
        self.assertEqual((hs, gs), (200, 200))
        self.assertEqual(hbody, b"", "a HEAD response carries no body")
        self.assertEqual(int(hh["content-length"]), len(self.portal.installer_bytes))
        self.assertEqual(gbody, self.portal.installer_bytes)
        self.assertTrue(alive)

    def test_vendor_home_and_unknown_paths(self):
        (home, missing) = self.portal.exchange("vendor", get("/"), get("/QvodSetup3_blue.exe.bak"))
        self.assertEqual(home[0], 200)
        self.assertIn(b"/QvodSetup3_blue.exe", home[2])
        self.assertEqual(missing[0], 404)

    def test_version_file_default(self):
        ((status, headers, body, _),) = self.portal.exchange("update", get("/tavlox/ver.txt"))
        self.assertEqual((status, body), (200, b"1"))

    def test_connection_close_is_honoured(self):
        with self.portal.connect("content") as s:
            s.sendall(get("/box/", extra="Connection: close\r\n"))
            status, headers, body, _ = read_response(s)
            self.assertEqual(status, 200)
            self.assertEqual(headers.get("connection"), "close")
            self.assertEqual(s.recv(1), b"", "the server closes after the response")

    def test_request_log_one_line_per_request_with_user_agent(self):
        marker = "/box/?log-test=%d" % time.monotonic_ns()
        self.portal.exchange("content", get(marker, ua="Mozilla/3.0 (compatible; Indy Library)"),
                             get(marker + "x"))
        with self.portal.connect("content") as s:  # a malformed request is logged too, on one line
            s.sendall(b"GET /a\x01b\"c HTTP/1.1\r\nUser-Agent: evil\r\n\r\n")
            read_response(s)
        lines = [line for line in self.portal.log_lines() if "log-test" in line or "/a" in line]
        self.assertRegex(lines[0], r'^\d+\.\d{3} content \d+ "GET %s HTTP/1\.1" '
                         r'UA="Mozilla/3\.0 \(compatible; Indy Library\)"$' % marker.replace("?", r"\?"))
        self.assertTrue(lines[1].endswith('x HTTP/1.1" UA=""'))
        self.assertIn(r'"GET /a\x01b\x22c HTTP/1.1" UA="evil"', lines[2])


class FailureModes(unittest.TestCase):
    def run_portal(self, *args):
        portal = Portal(*args)
        self.addCleanup(portal.close)
        return portal

    def test_installer_modes(self):
        # mode, HEAD status, HEAD has Content-Length, GET status
        cases = [("no-length", 200, False, 200), ("redirect", 302, True, 302), ("error", 500, True, 500),
                 ("missing", 404, True, 404)]
        for mode, head_status, head_length, get_status in cases:
            with self.subTest(mode=mode):
                portal = self.run_portal("--installer-mode", mode)
                (h, g) = portal.exchange("vendor", get("/QvodSetup3_blue.exe", "HEAD"),
                                         get("/QvodSetup3_blue.exe"), head_only=(0,))
                self.assertEqual(h[0], head_status)
                self.assertEqual("content-length" in h[1], head_length)
                self.assertEqual(g[0], get_status)
                if mode == "redirect":
                    self.assertEqual(g[1]["location"], "http://127.0.0.1:%d/" % portal.ports["vendor"])

    def test_truncated_body_then_close(self):
        portal = self.run_portal("--installer-mode", "truncated")
        ((status, headers, body, alive),) = portal.exchange("vendor", get("/QvodSetup3_blue.exe"))
        self.assertEqual(status, 200)
        self.assertEqual(int(headers["content-length"]), len(portal.installer_bytes))
        self.assertEqual(body, portal.installer_bytes[: len(portal.installer_bytes) // 2])
        self.assertFalse(alive)

    def test_silent_server_answers_nothing_and_lets_go(self):
        portal = self.run_portal("--installer-mode", "silent", "--silent-seconds", "1")
        with portal.connect("vendor") as s:
            s.sendall(get("/QvodSetup3_blue.exe", "HEAD"))
            start = time.monotonic()
            self.assertEqual(s.recv(100), b"")
            self.assertLess(time.monotonic() - start, 8)

    def test_version_file_modes(self):
        cases = [(["--ver", r"13\r\n"], 200, b"13\r\n"), (["--ver", "$A"], 200, b"$A"),
                 (["--ver-mode", "absent"], 404, None), (["--ver-mode", "redirect"], 302, None),
                 (["--ver-mode", "error"], 500, None)]
        for args, status, body in cases:
            with self.subTest(args=args):
                portal = self.run_portal(*args)
                ((got_status, _, got_body, _),) = portal.exchange("update", get("/tavlox/ver.txt"))
                self.assertEqual(got_status, status)
                if body is not None:
                    self.assertEqual(got_body, body)


class CommandLine(unittest.TestCase):
    def test_until_stdin_closes(self):
        ports = free_ports(3)
        port_args = ["--content-port", str(ports[0]), "--update-port", str(ports[1]),
                     "--vendor-port", str(ports[2])]
        proc = subprocess.Popen([sys.executable, PORTAL, "--until-stdin-closes"] + port_args,
                                stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            self.assertEqual(subprocess.call([sys.executable, PORTAL, "--wait-ready"] + port_args), 0)
            proc.stdin.close()
            self.assertEqual(proc.wait(10), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()

    def test_wait_ready_gives_up_when_nothing_listens(self):
        ports = free_ports(3)
        start = time.monotonic()
        rc = subprocess.call([sys.executable, PORTAL, "--wait-ready", "--timeout", "0.5",
                              "--content-port", str(ports[0]), "--update-port", str(ports[1]),
                              "--vendor-port", str(ports[2])], stderr=subprocess.DEVNULL)
        self.assertEqual(rc, 1)
        self.assertLess(time.monotonic() - start, 5)

    def test_busy_port_is_a_clear_error(self):
        blocker = socket.socket()
        blocker.bind(("127.0.0.1", 0))
        blocker.listen()
        self.addCleanup(blocker.close)
        others = free_ports(2)
        r = subprocess.run([sys.executable, PORTAL, "--content-port", str(blocker.getsockname()[1]),
                            "--update-port", str(others[0]), "--vendor-port", str(others[1])],
                           stderr=subprocess.PIPE, timeout=20)
        self.assertEqual(r.returncode, 1)
        self.assertIn(b"cannot listen", r.stderr)


if __name__ == "__main__":
    unittest.main()
