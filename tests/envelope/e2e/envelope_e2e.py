#!/usr/bin/env python3
"""Native halves of the envelope end-to-end scenarios.

    envelope_e2e.py setup SCENARIO WORK_FOLDER   before the scenario runs under Wine
    envelope_e2e.py check SCENARIO WORK_FOLDER   after it: reads the PDFs the CUPS PDF
                                                 printer wrote for the scenario's jobs

`setup` makes the logo pictures (ImageMagick) in WORK_FOLDER/logos and removes
earlier PDFs of the scenario's jobs. `check` finds the scenario's PDFs by their
title ("Quarrane - <addressee>") and checks where the blocks landed, which faces were
used and where the logo's colour is, with pdfinfo, pdftotext -bbox, pdffonts and
pdftoppm. The printer's folder is cups-pdf's `Out` (${HOME}/PDF), or QR_PDF_DIR.
"""
import glob
import os
import re
import subprocess
import sys
import time

DPI = 300.0  # the PDF printer's resolution: layout numbers are dots at this resolution
PT_PER_DOT = 72.0 / DPI
PDF_WAIT_S = 60  # jobs pass through the spooler: poll, with a bound

# Logo pictures: name -> (width, height, colour).
LOGOS = {
    "red.png": (200, 100, "#FF0000"),
    "green.png": (200, 100, "#00FF00"),
    "blue.jpg": (200, 100, "#0000FF"),
    "magenta.tif": (200, 100, "#FF00FF"),
    "cyan.bmp": (200, 100, "#00FFFF"),
    "LOGO.JPG": (200, 100, "#FF0000"),
}

# What each scenario prints: job addressee -> expected envelope.
SENDER = ["Envwin", "Sender"]
PRINT_JOBS = {
    "Zebulon Envwin Four": {
        "copies": 2,
        "sender": (100 + 272, 80),  # dots: sender position moved right of the logo
        "addressee": (2508 + 24 * -40, 900 + 18 * -20),
        "lines": ["Zebulon Envwin Four", "Attn Quill", "Suite 400", "Printville, PV 22222"],
        # 200 x 100 logo: h = 125 dots, offset (250 - 125) / 2 + 5 = 67.
        "logo": (100, 80 + 67, 250, 125),
    },
    "Zebulon Envwin Three": {
        "copies": 1,
        "sender": (100 + 272, 80),
        "addressee": (2508 + 24 * -40, 900 + 18 * -20),
        "lines": ["Zebulon Envwin Three", "Attn Quill", "Printville, PV 22222"],
        "logo": (100, 80 + 67, 250, 125),
    },
    "Zebulon Envwin Plain": {
        "copies": 1,
        "sender": (100, 80),
        "addressee": (2508 + 24 * -40, 900 + 18 * -20),
        # An empty city: the last line starts with the state.
        "lines": ["Zebulon Envwin Plain", "Attn Quill", "Suite 9", "PV 22222"],
        "logo": None,
    },
}
SCENARIO_JOBS = {
    "envelope_print": list(PRINT_JOBS) + ["Zebulon Envwin Zero"],
    "envelope_preview": ["Zebulon Envwin Preview"],
    "envelope_batch": ["3 envelopes", "50 envelopes", "Alpha Batchone", "Gamma Batchthree",
                       "Delta Batchfour"],
    # The alignment envelope's title has no addressee in it.
    "envelope_true_size": ["Zebulon Envwin Refused", "Alignment"],
    "labels": ["3 labels", "35 labels", "Return labels"],
}
# Names the code page lacks: cups-pdf names their files after the title as the driver
# passed it, so their PDFs are found by what they hold.
ANY_SCRIPT_JOBS = {
    "\u0141ukasz \u017b\u00f3\u0142kiewski": ["\u0141ukasz \u017b\u00f3\u0142kiewski", "ul. D\u0142uga 5", "Krak\u00f3w"],
    "Nguy\u1ec5n V\u0103n An": ["Nguy\u1ec5n V\u0103n An", "12 L\u00ea L\u1ee3i", "Hu\u1ebf"],
}

# Print Selected: the batch's one job and the addressee of each of its pages, in order.
BATCH_JOB = "3 envelopes"
BATCH_PAGES = ["Alpha Batchone", "Delta Batchfour", "Gamma Batchthree"]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def pdf_folder():
    if os.environ.get("QR_PDF_DIR"):
        return os.environ["QR_PDF_DIR"]
    out = "${HOME}/PDF"
    try:
        with open("/etc/cups/cups-pdf.conf") as conf:
            for line in conf:
                if line.startswith("Out "):
                    out = line.split(None, 1)[1].strip()
    except OSError:
        pass
    return out.replace("${HOME}", os.path.expanduser("~"))


def job_file_stem(addressee):
    # cups-pdf names the file after the title with blanks turned into underscores.
    return ("Quarrane - " + addressee).replace(" ", "_")


def wait_for_files(names, counts):
    deadline = time.time() + PDF_WAIT_S
    while True:
        files = {name: job_files(name) for name in names}
        if all(len(files[n]) >= counts[n] for n in names) or time.time() > deadline:
            break
        time.sleep(1)
    time.sleep(1)  # a file just seen may still be written


def job_files(addressee):
    return sorted(glob.glob(os.path.join(pdf_folder(), glob.escape(job_file_stem(addressee)) + "*.pdf")))


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def setup(scenario, work):
    logos = os.path.join(work, "logos")
    os.makedirs(logos, exist_ok=True)
    for name, (w, h, colour) in LOGOS.items():
        target = os.path.join(logos, name)
        kind = {"png": "PNG24", "jpg": "JPEG", "JPG": "JPEG", "tif": "TIFF", "bmp": "BMP3"}[name.rsplit(".", 1)[1]]
        run("convert", "-size", f"{w}x{h}", "xc:" + colour, "-type", "TrueColor", "-depth", "8", f"{kind}:{target}")
    for addressee in SCENARIO_JOBS.get(scenario, []):
        for path in job_files(addressee):
            os.remove(path)
    if scenario == "envelope_any_script":
        for jobs in any_script_files().values():
            for path, _, _ in jobs:
                os.remove(path)


def title_of(path):
    match = re.search(r"^Title:\s*(.*)$", run("pdfinfo", path), re.M)
    return match.group(1).strip() if match else ""


def words_of(path):
    """Every word of page 1 as (text, xMin, yMin, xMax, yMax) in points."""
    html = run("pdftotext", "-bbox", "-f", "1", "-l", "1", path, "-")
    pattern = r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>'
    return [(m[4], float(m[0]), float(m[1]), float(m[2]), float(m[3])) for m in re.findall(pattern, html)]


def lines_from(words, first_word, x_pt, y_pt):
    """The block's lines: words left of nothing before x_pt - 2, grouped by their top."""
    block = [w for w in words if w[1] >= x_pt - 3 and w[2] >= y_pt - 8]
    rows = {}
    for text, x0, y0, _, _ in sorted(block, key=lambda w: (round(w[2]), w[1])):
        key = next((k for k in rows if abs(k - y0) < 2), y0)
        rows.setdefault(key, []).append(text)
    return [" ".join(rows[k]) for k in sorted(rows)]


def near(found, expected, tolerance):
    return abs(found - expected) <= tolerance


def check_text_at(words, first_words, dots, what, path):
    x_pt, y_pt = dots[0] * PT_PER_DOT, dots[1] * PT_PER_DOT
    found = [w for w in words if w[0] == first_words[0]]
    # The word's box starts at the glyphs, a little below the top of the text cell.
    good = [w for w in found if near(w[1], x_pt, 2.5) and w[2] >= y_pt - 1 and w[2] <= y_pt + 6]
    if not good:
        fail(f"{path}: {what} {first_words[0]!r} expected at ({x_pt:.1f}, {y_pt:.1f}) pt, "
             f"found at {[(round(w[1], 1), round(w[2], 1)) for w in found]}")
    return good[0]


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    parts = data.split(maxsplit=4)
    if parts[0] != b"P6":
        fail(f"{path}: not a binary PPM")
    width, height = int(parts[1]), int(parts[2])
    return width, height, parts[4][: width * height * 3]


def check_logo(path, rect_dots, work):
    """The logo's red fills its rectangle and appears nowhere else on the page (with no
    logo, nowhere at all)."""
    dpi = 75
    stem = os.path.join(work, "page")
    run("pdftoppm", "-r", str(dpi), "-f", "1", "-l", "1", "-singlefile", path, stem)
    width, height, pixels = read_ppm(stem + ".ppm")
    scale = dpi / DPI
    rect_dots = rect_dots or (-100, -100, 0, 0)
    x0, y0 = rect_dots[0] * scale, rect_dots[1] * scale
    x1, y1 = x0 + rect_dots[2] * scale, y0 + rect_dots[3] * scale
    inside_total = inside_red = outside_red = 0
    for y in range(height):
        row = pixels[y * width * 3 : (y + 1) * width * 3]
        for x in range(width):
            r, g, b = row[3 * x], row[3 * x + 1], row[3 * x + 2]
            red = r > 200 and g < 60 and b < 60
            if x0 + 2 <= x < x1 - 2 and y0 + 2 <= y < y1 - 2:
                inside_total += 1
                inside_red += red
            elif not (x0 - 2 <= x < x1 + 2 and y0 - 2 <= y < y1 + 2):
                outside_red += red
    if rect_dots[2] and (inside_total == 0 or inside_red < inside_total):
        fail(f"{path}: only {inside_red} of {inside_total} pixels inside the logo rectangle are the logo's red")
    if outside_red:
        fail(f"{path}: {outside_red} red pixels outside the logo rectangle")


def check_print(work):
    wait_for_files(PRINT_JOBS, {n: job["copies"] for n, job in PRINT_JOBS.items()})
    if job_files("Zebulon Envwin Zero"):
        fail(f"copies 0 or not a number printed: {job_files('Zebulon Envwin Zero')}")
    for name, job in PRINT_JOBS.items():
        found = job_files(name)
        if len(found) != job["copies"]:
            fail(f"expected {job['copies']} PDF(s) of {name!r} in {pdf_folder()}, found {found}")
        for path in found:
            if title_of(path) != "Quarrane - " + name:
                fail(f"{path}: title {title_of(path)!r}")
            words = words_of(path)
            check_text_at(words, SENDER, job["sender"], "sender text", path)
            first = check_text_at(words, name.split(), job["addressee"], "addressee block", path)
            lines = lines_from(words, name.split()[0], first[1], first[2])
            if lines != job["lines"]:
                fail(f"{path}: addressee lines {lines}, expected {job['lines']}")
            fonts = run("pdffonts", path)
            if not re.search(r"Serif[-,]?Bold\b", fonts) or not re.search(r"Sans[-,]?Italic\b", fonts):
                fail(f"{path}: expected a bold serif (sender) and an italic sans (addressee) face:\n{fonts}")
            check_logo(path, job["logo"], work)
    print("PDFs checked: " + ", ".join(f"{n} x{j['copies']}" for n, j in PRINT_JOBS.items()))
    for name in PRINT_JOBS:  # kept only when a check failed, for a look
        for path in job_files(name):
            os.remove(path)


def check_preview(work):
    time.sleep(3)  # a job sent by mistake would have arrived by now
    stray = job_files("Zebulon Envwin Preview")
    if stray:
        fail(f"the preview (or an F6 while it was open) printed: {stray}")
    print("nothing printed while the preview was open")


def pages_of(path):
    match = re.search(r"^Pages:\s*(\d+)", run("pdfinfo", path), re.M)
    return int(match.group(1)) if match else 0


def check_batch(work):
    deadline = time.time() + PDF_WAIT_S
    while not job_files(BATCH_JOB) and time.time() < deadline:
        time.sleep(1)
    time.sleep(2)  # a file just seen may still be written; a stray job would be here too
    found = job_files(BATCH_JOB)
    if len(found) != 1:
        fail(f"expected one PDF of {BATCH_JOB!r} in {pdf_folder()}, found {found}")
    path = found[0]
    if title_of(path) != "Quarrane - " + BATCH_JOB:
        fail(f"{path}: title {title_of(path)!r}")
    if pages_of(path) != len(BATCH_PAGES):
        fail(f"{path}: {pages_of(path)} pages, expected {len(BATCH_PAGES)}")
    for number, name in enumerate(BATCH_PAGES, 1):
        text = run("pdftotext", "-f", str(number), "-l", str(number), path, "-")
        others = [n for n in BATCH_PAGES if n != name and n in text]
        if name not in text or others:
            fail(f"{path}: page {number} should address {name!r} alone:\n{text}")
    for single in BATCH_PAGES:  # a batch is no single-envelope job
        if job_files(single):
            fail(f"a job of its own for {single!r}: {job_files(single)}")
    # The cancelled batch: no PDF, or one with fewer than its 50 pages.
    for cancelled in job_files("50 envelopes"):
        if pages_of(cancelled) >= 50:
            fail(f"{cancelled}: the cancelled batch printed all its pages")
    print(f"one job of {len(BATCH_PAGES)} pages, in list order; the cancelled batch stopped")
    for name in SCENARIO_JOBS["envelope_batch"]:
        for path in job_files(name):
            os.remove(path)
def check_true_size(work):
    """File > Print Alignment Envelope printed one No. 10 envelope (envelope_pdf_jobs checks
    where its marks stand); the refused A2 envelope printed nothing."""
    wait_for_files(["Alignment"], {"Alignment": 1})
    if job_files("Zebulon Envwin Refused"):
        fail(f"the refused envelope printed: {job_files('Zebulon Envwin Refused')}")
    found = job_files("Alignment")
    if len(found) != 1:
        fail(f"expected one alignment PDF in {pdf_folder()}, found {found}")
    path = found[0]
    if title_of(path) != "Quarrane - Alignment":
        fail(f"{path}: title {title_of(path)!r}")
    size = re.search(r"^Page size:\s*(.*)$", run("pdfinfo", path), re.M).group(1)
    if not size.startswith("297 x 684"):
        fail(f"{path}: page {size}, not a No. 10 envelope")
    os.remove(path)
    print("alignment envelope printed; the refused envelope was not")


def narrowed(title, name):
    """Whether a PDF's title is "Quarrane - <name>" as far as Wine's PostScript driver
    carries it: it writes the document name in the ANSI code page, so a letter the code
    page lacks arrives as a look-alike or "?"; every other character must be the name's."""
    expected = "Quarrane - " + name
    return len(title) == len(expected) and all(
        t == e for t, e in zip(title, expected) if e.encode("cp1252", errors="ignore"))


def any_script_files():
    """The scenario's PDFs: name -> paths, found by their text and their title."""
    found = {name: [] for name in ANY_SCRIPT_JOBS}
    for path in glob.glob(os.path.join(pdf_folder(), "*.pdf")):
        title = title_of(path).strip("()")
        if not title.startswith("Quarrane - "):
            continue
        text = run("pdftotext", "-layout", path, "-")
        for name in ANY_SCRIPT_JOBS:
            if name in text or narrowed(title, name):
                found[name].append((path, title, text))
    return found


def check_any_script(work):
    """The Polish and the Vietnamese envelope: each one job, titled with the name, whose
    text holds every line exactly."""
    deadline = time.time() + PDF_WAIT_S
    while True:
        found = any_script_files()
        if all(found.values()) or time.time() > deadline:
            break
        time.sleep(1)
    time.sleep(1)
    found = any_script_files()
    for name, lines in ANY_SCRIPT_JOBS.items():
        if len(found[name]) != 1:
            fail(f"expected one PDF of {name!r} in {pdf_folder()}, found {[f[0] for f in found[name]]}")
        path, title, text = found[name][0]
        if not narrowed(title, name):
            fail(f"{path}: title {title!r} is not the job of {name!r}")
        for line in lines:
            if line not in text:
                fail(f"{path}: {line!r} is not on the envelope:\n{text}")
        os.remove(path)
    print("both envelopes carry their names exactly")


# Label sheets: columns, points per unit, first label's corner, label size, pitch.
SHEETS = {
    "5160": (3, 72.0, (0.1875, 0.5), (2.625, 1.0), (2.75, 1.0)),
    "5163": (2, 72.0, (0.15625, 0.5), (4.0, 2.0), (4.1875, 2.0)),
    "L7160": (3, 72 / 25.4, (7.25, 15.15), (63.5, 38.1), (66.0, 38.1)),
}
LABEL_ADDRESSES = {
    "Alpha Labelone": ["Alpha Labelone", "1 A St", "Suite 100", "Atown, AA 11111"],
    "Beta Labeltwo": ["Beta Labeltwo", "2 B St", "Btown, BB 22222"],
    "Delta Labelfour": ["Delta Labelfour", "4 D St", "Dtown, DD 44444"],
    "Echo Labelfive": ["Echo Labelfive", "5 E St", "Etown, EE 55555"],
    "Gamma Labelthree": ["Gamma Labelthree", "3 C St", "Apt 3", "Ctown, CC 33333"],
}


def check_labels_page(path, page, sheet, expected):
    """Every word of the page lies inside a label; the labels with words are the keys of
    `expected` (0-based), each holding its lines 0.1 in from its left edge, centred."""
    columns, pt, corner, size, pitch = SHEETS[sheet]
    html = run("pdftotext", "-bbox", "-f", str(page), "-l", str(page), path, "-")
    pattern = r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>'
    found = {}
    for m in re.findall(pattern, html):
        x0, y0, x1, y1 = map(float, m[:4])
        inside = [i for i in range(100)
                  if corner[0] + (i % columns) * pitch[0] <= x0 / pt + 0.01
                  and x1 / pt <= corner[0] + (i % columns) * pitch[0] + size[0] + 0.01
                  and corner[1] + (i // columns) * pitch[1] <= y0 / pt + 0.01
                  and y1 / pt <= corner[1] + (i // columns) * pitch[1] + size[1] + 0.01]
        if not inside:
            fail(f"{path} page {page}: {m[4]!r} at ({x0}, {y0}) lies in no label of {sheet}")
        found.setdefault(inside[0], []).append((m[4], x0, y0, y1))
    if sorted(found) != sorted(expected):
        fail(f"{path} page {page}: text in labels {[i + 1 for i in sorted(found)]}, "
             f"expected {[i + 1 for i in sorted(expected)]}")
    for i, words in found.items():
        rows = {}
        for text, x0, y0, _ in sorted(words, key=lambda w: (round(w[2]), w[1])):
            rows.setdefault(next((k for k in rows if abs(k - y0) < 2), y0), []).append(text)
        lines = [" ".join(rows[k]) for k in sorted(rows)]
        left = (corner[0] + (i % columns) * pitch[0]) * pt
        middle = (corner[1] + (i // columns) * pitch[1] + size[1] / 2) * pt
        if lines != expected[i]:
            fail(f"{path} page {page} label {i + 1}: lines {lines}, expected {expected[i]}")
        if not near(min(w[1] for w in words) - left, 7.2, 1.5):
            fail(f"{path} page {page} label {i + 1}: text starts {min(w[1] for w in words) - left:.1f} pt in")
        if not near((min(w[2] for w in words) + max(w[3] for w in words)) / 2, middle, 4):
            fail(f"{path} page {page} label {i + 1}: text not centred on {middle:.1f} pt")


def one_job(name, pages, paper):
    found = job_files(name)
    if len(found) != 1:
        fail(f"expected one PDF of {name!r} in {pdf_folder()}, found {found}")
    path = found[0]
    info = run("pdfinfo", path)
    if title_of(path) != "Quarrane - " + name or pages_of(path) != pages:
        fail(f"{path}: title {title_of(path)!r}, {pages_of(path)} pages; expected {pages}")
    if not re.search(r"^Page size:\s*" + paper, info, re.M):
        fail(f"{path}: not {paper}:\n{info}")
    return path


def check_labels(work):
    wait_for_files(SCENARIO_JOBS["labels"], {n: 1 for n in SCENARIO_JOBS["labels"]})
    letter, a4 = r"612 x 792", r"595(\.\d+)? x 84[12]"
    path = one_job("3 labels", 1, letter)
    picked = ["Alpha Labelone", "Delta Labelfour", "Gamma Labelthree"]
    check_labels_page(path, 1, "5163", {3 + k: LABEL_ADDRESSES[n] for k, n in enumerate(picked)})
    # Five entries, seven copies each, from label 29 of 30: 2 + 30 + 3 labels.
    path = one_job("35 labels", 3, letter)
    pages = {}
    for k in range(35):
        slot = 28 + k
        pages.setdefault(slot // 30 + 1, {})[slot % 30] = LABEL_ADDRESSES[list(LABEL_ADDRESSES)[k // 7]]
    for page, expected in pages.items():
        check_labels_page(path, page, "5160", expected)
    path = one_job("Return labels", 1, a4)
    sender = ["Labelwin Sender", "9 Return Road", "Sendtown, ST 99999"]
    check_labels_page(path, 1, "L7160", {i: sender for i in range(21)})
    print("labels: 5163 from label 4, 5160 over three sheets from label 29, L7160 return labels")
    for name in SCENARIO_JOBS["labels"]:
        for path in job_files(name):
            os.remove(path)


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("setup", "check"):
        sys.exit(__doc__)
    action, scenario, work = sys.argv[1:]
    if action == "setup":
        setup(scenario, work)
    elif scenario == "envelope_print":
        check_print(work)
    elif scenario == "envelope_preview":
        check_preview(work)
    elif scenario == "envelope_batch":
        check_batch(work)
    elif scenario == "envelope_true_size":
        check_true_size(work)
    elif scenario == "envelope_any_script":
        check_any_script(work)
    elif scenario == "labels":
        check_labels(work)
    print("PASS")


if __name__ == "__main__":
    main()
