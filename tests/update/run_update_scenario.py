#!/usr/bin/env python3
"""Runs one update scenario against the program's test copy.

    run_update_scenario.py SCENARIO DIST WORK QRDRIVE INSTALLER PORT WINE

A web server on 127.0.0.1:PORT serves the folder WORK/run/site, which the scenario sees
as %WORK%\\site and changes between checks with "write", "copy" and "delete". Comment
lines prepare the site first:

    #site-installer NAME    the test installer as updates/qr/NAME
    #site-other NAME        another program (the test installer with bytes appended, so it
                            would run just the same) as updates/qr/NAME

A site file "#endless" is sent without end. @SIGNATURE:VERSION:NAME:INSTALLER@ (or OTHER)
is the "signature=" scripts/sign-release gives for that program as VERSION named NAME with
the key the test copy trusts (update_test_key.pem here); @INSTALLER_SHA256@ and
@OTHER_SHA256@ are the "sha256=" values.
qrdrive runs the scenario under Wine; the server is stopped afterwards, whatever happened.
"""
import contextlib
import http.server
import os
import re
import shutil
import socket
import subprocess
import sys
import time

SERVER_START_LIMIT_S = 10
SCENARIO_LIMIT_S = 280  # the endless download stops late under Wine (signatures.qrs)
HERE = os.path.dirname(os.path.abspath(__file__))
SIGN_RELEASE = os.path.join(HERE, "..", "..", "scripts", "sign-release")
TEST_KEY = os.path.join(HERE, "update_test_key.pem")
TEST_PUBLIC_KEY = os.path.join(HERE, "update_test_key.pub.hex")


def signed_lines(run, version, name, path):
    """The "sha256=" and "signature=" values for `path` as `version` named `name`."""
    os.makedirs(os.path.join(run, "signed", version), exist_ok=True)
    named = shutil.copyfile(path, os.path.join(run, "signed", version, name))
    out = subprocess.run([SIGN_RELEASE, "--trusted-key", TEST_PUBLIC_KEY, version, named,
                          TEST_KEY], check=True, capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in out.splitlines()[2:])
    return values["sha256"], values["signature"]


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        path = self.translate_path(self.path)
        if not os.path.isfile(path) or open(path, "rb").read() != b"#endless":
            return super().do_GET()
        self.send_response(200)
        self.end_headers()
        with contextlib.suppress(OSError):  # until the program stops the download
            while True:
                # A trickle, as from a slow or hostile site: each piece reaches the
                # program's progress callback on its own.
                self.wfile.write(b"x" * 4096)
                self.wfile.flush()
                time.sleep(0.005)


def prepare(scenario, run, installer):
    """Fills the site with what the scenario names; returns its script."""
    folder = os.path.join(run, "site", "updates", "qr")
    os.makedirs(folder)
    other = os.path.join(run, "other.exe")
    with open(installer, "rb") as f:
        program = f.read()
    with open(other, "wb") as f:
        f.write(program + b"\0another program\0")
    with open(scenario, encoding="latin-1") as f:
        script = f.read()
    for line in script.splitlines():
        words = line.split()
        if not words:
            continue
        if words[0] == "#site-installer":
            shutil.copyfile(installer, os.path.join(folder, words[1]))
        elif words[0] == "#site-other":
            shutil.copyfile(other, os.path.join(folder, words[1]))
    programs = {"INSTALLER": installer, "OTHER": other}
    for name, path in programs.items():
        script = script.replace(f"@{name}_SHA256@", signed_lines(run, "1", "x.exe", path)[0])
    return re.sub(r"@SIGNATURE:([0-9.]+):([^:@]+):(INSTALLER|OTHER)@",
                  lambda m: signed_lines(run, m[1], m[2], programs[m[3]])[1], script)


def port_open(port):
    with socket.socket() as s:
        s.settimeout(0.2)
        return s.connect_ex(("127.0.0.1", port)) == 0


def main():
    scenario, dist, work, qrdrive, installer, port, wine = sys.argv[1:8]
    port = int(port)
    run = os.path.join(work, "run")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(run)
    script = prepare(scenario, run, installer)
    expanded = os.path.join(work, os.path.basename(scenario))
    with open(expanded, "w", encoding="latin-1", newline="") as f:
        f.write(script)
    site = os.path.join(run, "site")
    if port_open(port):
        raise SystemExit(f"FAIL: something already listens on 127.0.0.1:{port}")
    log = open(os.path.join(work, "server.log"), "wb")
    server = subprocess.Popen([sys.executable, __file__, "--serve", site, str(port)], stdout=log,
                              stderr=subprocess.STDOUT)
    try:
        deadline = time.monotonic() + SERVER_START_LIMIT_S
        while not port_open(port):
            if server.poll() is not None or time.monotonic() > deadline:
                raise SystemExit("FAIL: the local web server did not start")
            time.sleep(0.1)
        result = subprocess.run([wine, qrdrive, expanded, dist, run],
                                timeout=SCENARIO_LIMIT_S)
        return result.returncode
    finally:
        server.terminate()
        try:
            server.wait(timeout=5)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()
        log.close()


if __name__ == "__main__":
    if sys.argv[1] == "--serve":
        handler = lambda *a, **k: SiteHandler(*a, directory=sys.argv[2], **k)
        http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[3])), handler).serve_forever()
    sys.exit(main())
