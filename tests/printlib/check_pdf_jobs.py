#!/usr/bin/env python3
"""Checks the PDFs that the printlib_pdf_jobs test printed on the cups-pdf printer "PDF".

The manifest has one line per job: title, first word, its expected left edge and baseline in
points from the paper's top-left corner, and a word that must be absent ("-" for none).
Each job's PDF must appear in cups-pdf's output folder (waiting a bounded time), carry the
job's title, be a landscape No. 10 envelope (684 x 297 points, or 297 x 684 rotated), and
show the word within one point of its expected place: its left edge as pdftotext -bbox gives
it, its baseline as the lowest ink under the word's box on the rendered page (the word boxes'
heights depend on the glyphs the embedded font subset holds, so they do not show the
baseline; the jobs' texts have no letters that reach below it). A missing PDF is a failure.
"""
import getpass
import glob
import os
import re
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 60
TOLERANCE_POINTS = 1.0
PIXELS_PER_POINT = 4  # rendering at 288 dpi


def output_folder():
    folder = "/var/spool/cups-pdf/${USER}"  # cups-pdf's default
    with open("/etc/cups/cups-pdf.conf", encoding="utf-8", errors="replace") as conf:
        for line in conf:
            parts = line.strip().split(None, 1)
            if len(parts) == 2 and parts[0] == "Out":
                folder = parts[1]
    return folder.replace("${HOME}", os.path.expanduser("~")).replace("${USER}", getpass.getuser())


def pdf_info(path):
    out = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    return dict(
        (k.strip(), v.strip()) for k, v in (l.split(":", 1) for l in out.splitlines() if ":" in l))


def find_pdf(folder, title):
    """The PDF in `folder` whose title is `title`; cups-pdf names it after the title."""
    prefix = os.path.join(folder, glob.escape(title.replace(" ", "_")[:24]))
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        for path in sorted(glob.glob(prefix + "*.pdf")):
            try:
                if pdf_info(path).get("Title") == title:
                    return path
            except subprocess.CalledProcessError:
                pass  # still being written
        if time.monotonic() > deadline:
            return None
        time.sleep(0.5)


def words(path):
    out = subprocess.run(["pdftotext", "-bbox", path, "-"], capture_output=True, text=True,
                         check=True).stdout
    pattern = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                         r'yMax="([\d.]+)">([^<]*)</word>')
    return [(m.group(5), float(m.group(1)), float(m.group(2)), float(m.group(3)),
             float(m.group(4))) for m in pattern.finditer(out)]


def render(path):
    """The first page as (width, height, grey bytes), displayed as a viewer shows it."""
    with tempfile.TemporaryDirectory() as folder:
        root = os.path.join(folder, "page")
        subprocess.run(["pdftoppm", "-r", str(72 * PIXELS_PER_POINT), "-gray", "-singlefile",
                        path, root], check=True)
        with open(root + ".pgm", "rb") as f:
            data = f.read()
    fields = data.split(maxsplit=4)  # P5, width, height, max, pixels
    width, height = int(fields[1]), int(fields[2])
    return width, height, fields[4][-width * height:]


def ink_bottom(page, x_min, y_min, x_max, y_max):
    """Lowest row (in points) with ink inside the box, or None."""
    width, height, pixels = page
    s = PIXELS_PER_POINT
    left, right = int(x_min * s), min(width, int(x_max * s) + 1)
    for row in range(min(height - 1, int((y_max + 1) * s)), max(0, int(y_min * s)) - 1, -1):
        if min(pixels[row * width + left:row * width + right]) < 128:
            return (row + 1) / s
    return None


def check(line, folder):
    title, word, x, baseline, absent = line.rstrip("\n").split("\t")
    x, baseline = float(x), float(baseline)
    path = find_pdf(folder, title)
    if path is None:
        return [f"{title}: no PDF in {folder} after {WAIT_SECONDS} s"]
    problems = []
    info = pdf_info(path)
    size = info.get("Page size", "")
    rotation = int(info.get("Page rot", "0"))
    landscape = (size.startswith("297 x 684") and rotation % 180 == 90) or (
        size.startswith("684 x 297") and rotation % 180 == 0)
    if not landscape:
        problems.append(f"{title}: page {size} rotated {rotation}, not a landscape No. 10")
    found = words(path)
    if not found or found[0][0] != word:
        problems.append(f"{title}: first word {found[0][0] if found else None!r}, not {word!r}")
    else:
        _, x_min, y_min, x_max, y_max = found[0]
        bottom = ink_bottom(render(path), x_min, y_min, x_max, y_max)
        if (abs(x_min - x) > TOLERANCE_POINTS or bottom is None or
                abs(bottom - baseline) > TOLERANCE_POINTS):
            problems.append(f"{title}: {word!r} at x {x_min:.2f}, baseline {bottom}; "
                            f"expected {x:.2f}, {baseline:.2f}")
        print(f"{title}: {word!r} at x {x_min:.2f} (expected {x:.2f}), "
              f"baseline {bottom} (expected {baseline:.2f})")
    if absent != "-" and any(w[0] == absent for w in found):
        problems.append(f"{title}: {absent!r} is on the paper")
    if not problems:
        os.remove(path)  # keep the output folder from filling up; failures stay to be looked at
    return problems


def main():
    manifest = sys.argv[1]
    if not os.path.exists(manifest):
        print(f"no manifest {manifest}: the print jobs did not run")
        return 1
    with open(manifest, encoding="utf-8") as f:
        lines = [l for l in f if l.strip()]
    if not lines:
        print("the manifest lists no jobs")
        return 1
    folder = output_folder()
    problems = [p for line in lines for p in check(line, folder)]
    for p in problems:
        print(p)
    print(f"{len(lines)} jobs checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
