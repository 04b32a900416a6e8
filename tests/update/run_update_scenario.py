#!/usr/bin/env python3
"""Runs one update scenario against the program's test copy.

    run_update_scenario.py SCENARIO DIST QRDRIVE INSTALLER WORK PORT WINE

The scenario's "#site" comment lines fill a web-site folder:
    #site NAME "TEXT"      writes TEXT (Python string escapes; @INSTALLER_SHA256@ is the
                           test installer's SHA-256) to updates/qr/NAME
    #site-installer NAME   copies the test installer to updates/qr/NAME
A web server on 127.0.0.1:PORT serves that folder while qrdrive runs the scenario under
Wine; the server is stopped afterwards, whatever happened.
"""
import ast
import hashlib
import os
import shutil
import socket
import subprocess
import sys
import time

SERVER_START_LIMIT_S = 10
SCENARIO_LIMIT_S = 120


def fill_site(scenario, site, installer):
    with open(installer, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    folder = os.path.join(site, "updates", "qr")
    os.makedirs(folder)
    with open(scenario, encoding="latin-1") as f:
        for line in f:
            words = line.rstrip("\r\n").split(None, 2)
            if not words or not words[0].startswith("#site"):
                continue
            if words[0] == "#site-installer":
                shutil.copyfile(installer, os.path.join(folder, words[1]))
            elif words[0] == "#site":
                text = ast.literal_eval(words[2]).replace("@INSTALLER_SHA256@", digest)
                with open(os.path.join(folder, words[1]), "wb") as out:
                    out.write(text.encode("latin-1"))
            else:
                raise SystemExit(f"unknown line in {scenario}: {line.strip()}")


def port_open(port):
    with socket.socket() as s:
        s.settimeout(0.2)
        return s.connect_ex(("127.0.0.1", port)) == 0


def main():
    scenario, dist, qrdrive, installer, work, port, wine = sys.argv[1:8]
    port = int(port)
    site = os.path.join(work, "site")
    shutil.rmtree(site, ignore_errors=True)
    os.makedirs(work, exist_ok=True)
    fill_site(scenario, site, installer)
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
        result = subprocess.run([wine, qrdrive, scenario, dist, os.path.join(work, "run")],
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
