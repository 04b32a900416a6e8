#!/usr/bin/env python3
"""Prints the one table of scripts/bench from the Google Benchmark JSON files and the
Windows timers' figures.

usage: bench_table.py <results folder>
The folder holds <program>.json (one per native benchmark program) and windows.txt
(lines "key value" from the Windows timers)."""
import json
import pathlib
import sys

UNITS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}

# The rows every run must show, in this order: label, source key, what it means to a user.
ROWS = [
    ("Start-up to the main window, first run, shipped ZIP database", "win:startup_ms",
     "from starting quarrane.exe to the main window on screen"),
    ("Floor: a plain window with a menu, a toolbar and 20 controls", "win:floor_ms",
     "the same start-up of the least window of this kind, timed turn by turn with the above"),
    # A row of four is a ratio: label, numerator key, denominator key, meaning.
    ("Start-up against the floor, same run", "win:startup_ms", "win:floor_ms", "at most 1.25"),
    ("Floor with the program's manifest (themed controls, DPI-aware)", "win:themedfloor_ms",
     "the floor again, its controls those of common controls 6 as the program's are"),
    ("Start-up against the floor with the manifest, same run", "win:startup_ms",
     "win:themedfloor_ms", "what the program adds to a window of its kind and look"),
    ("Start-up of the timing build (step marks below)", "win:marked_ms",
     "the program built by bench/win, which records its start-up steps"),
    ("ZIP database load (envelope.dat)", "zip_bench:BM_LoadShippedDatabase",
     "part of every start-up"),
    ("ZIP look-up, last entry of the largest bucket", "zip_bench:BM_LookupLastOfLargestBucket",
     "worst case when leaving the Zip field"),
    ("ZIP look-up, ZIP not in the database", "zip_bench:BM_LookupMissInLargestBucket",
     "leaving the Zip field with an unknown ZIP"),
]
for n in (1000, 10000, 100000):
    ROWS += [
        (f"Book save and read-back, {n:,} entries, on disk",
         f"addressbook_bench:BM_SaveAndReadBackOnDisk/{n}",
         "pressing Save (backup, rewrite, read back sorted)"),
        (f"Name sort, {n:,} entries, this program's sort",
         f"addressbook_bench:BM_SortFast/{n}/1", "sorting done on every save and start-up"),
        (f"Name sort, {n:,} entries, plain bubble passes",
         f"addressbook_bench:BM_SortBubblePasses/{n}/1", "the same sort done the old way"),
    ]
ROWS += [
    ("Book save and read-back, 100,000 entries, on disk, UTF-8 book",
     "addressbook_bench:BM_SaveAndReadBackUtf8OnDisk/100000",
     "the same for a book with names the code page lacks"),
    ("Book save and read-back, 100,000 entries, on disk, before UTF-8 text",
     "addressbook_bench_baseline:BM_SaveAndReadBackOnDisk/100000",
     "the code-page book, built from the release before (QR_BENCH_BASELINE)"),
]
# Ratios of two rows: label, numerator key, denominator key, meaning.
RATIOS = [
    ("Code-page book against the release before, 100,000 entries",
     "addressbook_bench:BM_SaveAndReadBackOnDisk/100000",
     "addressbook_bench_baseline:BM_SaveAndReadBackOnDisk/100000", "at most 1.2"),
    ("UTF-8 book against the release before, 100,000 entries",
     "addressbook_bench:BM_SaveAndReadBackUtf8OnDisk/100000",
     "addressbook_bench_baseline:BM_SaveAndReadBackOnDisk/100000", "at most 1.2"),
]
ROWS += [
    ("Import of 10,000 vCards into a 10,000-entry book, on disk",
     "addressbook_bench:BM_ImportVCardsOnDisk/10000",
     "File > Import Contacts (read, merge, backup, rewrite, read back)"),
    ("Lookup window on 10,000 entries (reread, rows, first page)",
     "lookup_bench:BM_OpenFromDisk/10000", "opening Get Addressee"),
    ("Lookup rows for a search, 10,000 entries", "lookup_bench:BM_RowsForSearch/10000/1",
     "each change of the search text"),
    ("One envelope printed to the PDF printer, until the job ends", "win:print_ms",
     "from Print to the finished PDF"),
    ("100 envelopes in one Print Selected job, until the job ends", "win:batch100_print_ms",
     "Print Selected of 100 entries; compare one envelope above"),
    ("300 labels (10 sheets of 5160) in one job, until the job ends", "win:labels300_print_ms",
     "Print Labels of 300 labels"),
    ("One print preview drawn", "win:preview_ms", "opening Print Preview"),
]


def load(folder):
    figures = {}
    for path in sorted(folder.glob("*.json")):
        program = path.stem
        try:
            data = json.loads(path.read_text())
        except (OSError, ValueError):
            continue
        for b in data.get("benchmarks", []):
            if b.get("run_type") == "aggregate" or "error_message" in b:
                continue
            ms = b["real_time"] * UNITS.get(b.get("time_unit", "ns"), 1e-6)
            name = b["name"].split("/iterations:")[0].split("/real_time")[0]
            figures[f"{program}:{name}"] = ms
    win = folder / "windows.txt"
    if win.exists():
        for line in win.read_text().splitlines():
            parts = line.split()
            if len(parts) == 2:
                try:
                    figures["win:" + parts[0]] = float(parts[1])
                except ValueError:
                    pass
    return figures


def show(ms):
    if ms is None:
        return "not measured yet"
    if ms >= 1000:
        return f"{ms / 1000:.2f} s"
    if ms >= 1:
        return f"{ms:.1f} ms"
    if ms >= 0.001:
        return f"{ms * 1000:.1f} µs"
    return f"{ms * 1e6:.0f} ns"


def ratio(figures, top, bottom):
    if figures.get(top) and figures.get(bottom):
        return f"{figures[top] / figures[bottom]:.2f}x"
    return "not measured yet"


def show_marks(folder):
    """The start-up steps of the timing build: lines "<step> <ms>" in marks.txt, each the
    median time from starting the process to the end of that step."""
    path = folder / "marks.txt"
    marks = []
    if path.exists():
        for line in path.read_text().splitlines():
            parts = line.split()
            if len(parts) == 2:
                marks.append((parts[0], float(parts[1])))
    if not marks:
        return
    print()
    print("Start-up steps of the timing build, median ms from starting the process:")
    print()
    width = max(len(step) for step, _ in marks)
    print(f"| {'Step done':<{width}} |    At | Since the step before |")
    print(f"|{'-' * (width + 2)}|------:|----------------------:|")
    before = 0.0
    for step, ms in marks:
        print(f"| {step:<{width}} | {ms:5.1f} | {ms - before:21.1f} |")
        before = ms


def main():
    folder = pathlib.Path(sys.argv[1])
    figures = load(folder)
    rows = []
    for row in ROWS:
        if len(row) == 4:
            label, top, bottom, note = row
            rows.append((label, ratio(figures, top, bottom), note))
        else:
            label, key, note = row
            rows.append((label, show(figures.get(key)), note))
    for label, top, bottom, note in RATIOS:
        rows.append((label, ratio(figures, top, bottom), note))
    listed = {row[1] for row in ROWS if len(row) == 3}
    for key in sorted(figures):
        if key not in listed:
            rows.append((key.replace(":", " "), show(figures[key]), "further benchmark"))
    width = max(len(r[0]) for r in rows)
    fig = max(len(r[1]) for r in rows)
    print(f"| {'What':<{width}} | {'Time':>{fig}} | Meaning |")
    print(f"|{'-' * (width + 2)}|{'-' * (fig + 1)}:|---------|")
    for label, value, note in rows:
        print(f"| {label:<{width}} | {value:>{fig}} | {note} |")
    show_marks(folder)


if __name__ == "__main__":
    main()
