#!/usr/bin/env python3
"""Checks the PDFs that a print-job test (printlib_pdf_jobs, envelope_pdf_jobs) printed on
the cups-pdf printers.

    check_pdf_jobs.py MANIFEST

The manifest has one line per expected word: the job's title, the word, its expected left
edge and baseline in points from the paper's top-left corner, a word that must be absent
("-" for none), then optional tab-separated options:
  page=WxH     the landscape page in points (default 684x297, a No. 10 envelope)
  inside=1     every word of the page lies inside it
  near=TITLE   the word stands within one point of the same word in that job
  ink=X,Y      the page has ink within half a point of (X, Y)
  inkleft=1    the left edge is the word's leftmost ink instead
Lines of one title are one job. Its PDF must appear in cups-pdf's output folder (waiting a
bounded time; the newest of that title), carry the job's title, have the page (W x H, or
H x W rotated, within one point), and show each word within one point of its expected place:
the left edge as pdftotext -bbox gives it, the baseline as the lowest ink under the word's
box on the rendered page (the word boxes' heights depend on the glyphs the embedded font
subset holds, so they do not show the baseline; the jobs' texts have no letters that reach
below it). Of several words with the same text the one nearest the expected place counts.
A missing PDF is a failure.
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
        for path in sorted(glob.glob(prefix + "*.pdf"), key=os.path.getmtime, reverse=True):
            try:
                if pdf_info(path).get("Title") == title:
                    return path
            except subprocess.CalledProcessError:
                pass  # still being written
        if time.monotonic() > deadline:
            return None
        time.sleep(0.5)


def words(path):
    """Every word of the first page as (text, xMin, yMin, xMax, yMax), in points of the page
    as it is shown (rotation applied)."""
    out = subprocess.run(["pdftotext", "-bbox", "-f", "1", "-l", "1", path, "-"],
                         capture_output=True, text=True, check=True).stdout
    pattern = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                         r'yMax="([\d.]+)">([^<]*)</word>')
    found = [(m.group(5), float(m.group(1)), float(m.group(2)), float(m.group(3)),
              float(m.group(4))) for m in pattern.finditer(out)]
    return found


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


def page_problem(title, info, wanted):
    """Whether the PDF's page is `wanted` (width, height of the landscape page)."""
    size = re.match(r"([\d.]+) x ([\d.]+)", info.get("Page size", ""))
    rotation = int(info.get("Page rot", "0"))
    if size:
        w, h = float(size.group(1)), float(size.group(2))
        if rotation % 180 == 90:
            w, h = h, w
        if abs(w - wanted[0]) <= TOLERANCE_POINTS and abs(h - wanted[1]) <= TOLERANCE_POINTS:
            return None
    return (f"{title}: page {info.get('Page size')} rotated {rotation}, "
            f"not {wanted[0]:g} x {wanted[1]:g} landscape")


def check_job(title, entries, folder, measured):
    """Checks one job's PDF against its manifest entries; returns the problems."""
    path = find_pdf(folder, title)
    if path is None:
        return [f"{title}: no PDF in {folder} after {WAIT_SECONDS} s"]
    problems = []
    options = {}
    for e in entries:
        options.update(e["options"])
    wanted = tuple(float(v) for v in options.get("page", "684x297").split("x"))
    problem = page_problem(title, pdf_info(path), wanted)
    if problem:
        problems.append(problem)
    found = words(path)
    page = render(path)
    for e in entries:
        word, x, baseline = e["word"], e["x"], e["baseline"]
        candidates = [w for w in found if w[0] == word]
        if not candidates:
            problems.append(f"{title}: no word {word!r}")
            continue
        _, x_min, y_min, x_max, y_max = min(
            candidates, key=lambda w: abs(w[1] - x) + abs(w[4] - baseline))
        bottom = ink_bottom(page, x_min, y_min, x_max, y_max)
        if e["options"].get("inkleft"):  # the first column of the rendering with ink
            s = PIXELS_PER_POINT
            x_min = next((c / s for c in range(int(x_min * s), int(x_max * s))
                          if ink_bottom(page, c / s, y_min, c / s, y_max)), x_min)
        if (abs(x_min - x) > TOLERANCE_POINTS or bottom is None or
                abs(bottom - baseline) > TOLERANCE_POINTS):
            problems.append(f"{title}: {word!r} at x {x_min:.2f}, baseline {bottom}; "
                            f"expected {x:.2f}, {baseline:.2f}")
        print(f"{title}: {word!r} at x {x_min:.2f} (expected {x:.2f}), "
              f"baseline {bottom} (expected {baseline:.2f})")
        near = e["options"].get("near")
        other = measured.get((near, word)) if near else None
        if near and (other is None or bottom is None or abs(other[0] - x_min) > TOLERANCE_POINTS
                     or abs(other[1] - bottom) > TOLERANCE_POINTS):
            problems.append(f"{title}: {word!r} at ({x_min:.2f}, {bottom}), in {near} at {other}")
        measured[(title, word)] = (x_min, bottom)
        if "ink" in e["options"]:
            ink_x, ink_y = (float(v) for v in e["options"]["ink"].split(","))
            if ink_bottom(page, ink_x - 0.5, ink_y - 0.5, ink_x + 0.5, ink_y + 0.5) is None:
                problems.append(f"{title}: no ink at ({ink_x:g}, {ink_y:g})")
        if e["absent"] != "-" and any(w[0] == e["absent"] for w in found):
            problems.append(f"{title}: {e['absent']!r} is on the paper")
    if options.get("inside") == "1":
        outside = [w for w in found
                   if w[1] < 0 or w[2] < 0 or w[3] > wanted[0] or w[4] > wanted[1]]
        if not found or outside:
            problems.append(f"{title}: words outside the {wanted[0]:g} x {wanted[1]:g} page: "
                            f"{outside}")
    if not problems:
        os.remove(path)  # keep the output folder from filling up; failures stay to be looked at
    return problems


def parse(line):
    title, word, x, baseline, absent, *rest = line.rstrip("\n").split("\t")
    options = dict(option.split("=", 1) for option in rest)
    return {"title": title, "word": word, "x": float(x), "baseline": float(baseline),
            "absent": absent, "options": options}


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
    jobs = {}
    for line in lines:
        entry = parse(line)
        jobs.setdefault(entry["title"], []).append(entry)
    measured = {}
    problems = [p for title, entries in jobs.items()
                for p in check_job(title, entries, folder, measured)]
    for p in problems:
        print(p)
    print(f"{len(jobs)} jobs checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
