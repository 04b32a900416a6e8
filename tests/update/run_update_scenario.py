#!/usr/bin/env python3
"""Runs one update scenario against the program's test copy.

    run_update_scenario.py SCENARIO DIST WORK QRDRIVE INSTALLER PORT WINE

A web server on 127.0.0.1:PORT serves the folder WORK/run/site, which the scenario sees
as %WORK%\site and changes between checks with "write" and "delete". Its
"#site-installer NAME" comment lines copy the test installer to updates/qr/NAME first,
and @INSTALLER_SHA256@ in the scenario stands for that installer's SHA-256. qrdrive runs
the scenario under Wine; the server is stopped afterwards, whatever happened.
"""
import hashlib
import os
import shutil
import socket
import subprocess
import sys
import time

SERVER_START_LIMIT_S = 10
SCENARIO_LIMIT_S = 120


def prepare(scenario, run, installer):
    """Fills the site with the installers the scenario names; returns its script."""
    with open(installer, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    folder = os.path.join(run, "site", "updates", "qr")
    os.makedirs(folder)
    with open(scenario, encoding="latin-1") as f:
        script = f.read()
    for line in script.splitlines():
        words = line.split()
        if words and words[0] == "#site-installer":
            shutil.copyfile(installer, os.path.join(folder, words[1]))
    return script.replace("@INSTALLER_SHA256@", digest)


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
