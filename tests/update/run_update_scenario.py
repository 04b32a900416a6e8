#!/usr/bin/env python3
"""Runs one update scenario against the program's test copy.

    run_update_scenario.py SCENARIO DIST WORK QRDRIVE INSTALLER PORT WINE

A web server on 127.0.0.1:PORT serves the folder WORK/run/site, which the scenario sees
as %WORK%\\site and changes between checks with "write", "copy" and "delete". Comment
lines prepare the site first:

    #site-installer NAME    the test installer as updates/qr/NAME
    #site-other NAME        another program (the test installer with bytes appended, so it
                            would run just the same) as updates/qr/NAME
    #site-big NAME BYTES    updates/qr/NAME: BYTES letters "x" and no line break

In the scenario @INSTALLER_SHA256@ and @INSTALLER_SIGNATURE@ stand for the test
installer's "sha256=" and "signature=" values, @OTHER_SHA256@ and @OTHER_SIGNATURE@ for
the other program's: scripts/sign-release makes them with the tests' key
(update_test_key.pem beside this script), the key the test copy of the program trusts.
qrdrive runs the scenario under Wine; the server is stopped afterwards, whatever happened.
"""
import os
import shutil
import socket
import subprocess
import sys
import time

SERVER_START_LIMIT_S = 10
SCENARIO_LIMIT_S = 120
HERE = os.path.dirname(os.path.abspath(__file__))
SIGN_RELEASE = os.path.join(HERE, "..", "..", "scripts", "sign-release")
TEST_KEY = os.path.join(HERE, "update_test_key.pem")


def signed_lines(path):
    """The "sha256=" and "signature=" values scripts/sign-release gives for a file."""
    out = subprocess.run([SIGN_RELEASE, path, TEST_KEY], check=True, capture_output=True,
                         text=True).stdout
    values = dict(line.split("=", 1) for line in out.splitlines())
    return values["sha256"], values["signature"]


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
        elif words[0] == "#site-big":
            with open(os.path.join(folder, words[1]), "wb") as f:
                f.write(b"x" * int(words[2]))
    for name, path in (("INSTALLER", installer), ("OTHER", other)):
        sha256, signature = signed_lines(path)
        script = script.replace(f"@{name}_SHA256@", sha256)
        script = script.replace(f"@{name}_SIGNATURE@", signature)
    return script


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
    server = subprocess.Popen(
        [sys.executable, "-m", "http.server", "--bind", "127.0.0.1", "--directory", site,
         str(port)], stdout=log, stderr=subprocess.STDOUT)
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
    sys.exit(main())
