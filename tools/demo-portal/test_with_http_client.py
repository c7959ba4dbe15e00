#!/usr/bin/env python3
"""The demo portal against the program's own HTTP client (the tavlox-http tool), natively:
every installer behaviour of the portal must reach the client as the success or the failure
that the program's installer step and update check rely on.

Usage: test_with_http_client.py TAVLOX_HTTP
"""

import json
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from test_portal import Portal  # noqa: E402

CLIENT = None
INSTALLER = "/QvodSetup3_blue.exe"


def run_client(*args, timeout=30):
    r = subprocess.run([CLIENT, "--body", "none", "--read-timeout", "3000"] + list(args),
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    return r.returncode, [json.loads(line) for line in r.stdout.decode().splitlines() if line.strip()]


class InstallerDownload(unittest.TestCase):
    def portal(self, *args):
        p = Portal(*args)
        self.addCleanup(p.close)
        return p

    def url(self, portal, server, path):
        return "http://127.0.0.1:%d%s" % (portal.ports[server], path)

    def test_head_and_get_share_one_connection(self):
        p = self.portal()
        url = self.url(p, "vendor", INSTALLER)
        rc, (head, get) = run_client("--head", url, "--get", url)
        self.assertEqual(rc, 0)
        self.assertEqual((head["status"], head["content_length"]), (200, len(p.installer_bytes)))
        self.assertEqual((get["status"], get["body_bytes"]), (200, len(p.installer_bytes)))
        requests = [line for line in p.log_lines() if INSTALLER in line]
        self.assertEqual(len(requests), 2)
        self.assertEqual(len({line.split(" ")[2] for line in requests}), 1, "one client port: %s" % requests)

    def test_failure_modes_reach_the_client(self):
        # mode, HEAD ok, HEAD content length (None: not checked), GET ok. The client takes a
        # counted body cut short by the server's close as a success with fewer bytes; whoever
        # saves it has to compare the count (checked below).
        cases = [("no-length", True, -1, True), ("truncated", True, None, True),
                 ("redirect", False, None, False), ("error", False, None, False),
                 ("missing", False, None, False), ("silent", False, None, False)]
        for mode, head_ok, head_length, get_ok in cases:
            with self.subTest(mode=mode):
                p = self.portal("--installer-mode", mode, "--silent-seconds", "10")
                url = self.url(p, "vendor", INSTALLER)
                _, (head,) = run_client("--head", url)
                _, (get,) = run_client("--get", url)
                self.assertEqual(head["ok"], head_ok, head)
                if head_length is not None:
                    self.assertEqual(head["content_length"], head_length)
                self.assertEqual(get["ok"], get_ok, get)
                if mode == "truncated":
                    self.assertLess(get["body_bytes"], get["content_length"])

    def test_version_file(self):
        cases = [(["--ver", "13"], True, 200), (["--ver-mode", "absent"], False, 404),
                 (["--ver-mode", "redirect"], False, 302), (["--ver-mode", "error"], False, 500)]
        for args, ok, status in cases:
            with self.subTest(args=args):
                p = self.portal(*args)
                _, (get,) = run_client("--get", self.url(p, "update", "/tavlox/ver.txt"))
                self.assertEqual((get["ok"], get["status"]), (ok, status), get)


if __name__ == "__main__":
    CLIENT = os.path.abspath(sys.argv.pop(1))
    unittest.main()
