#!/usr/bin/env python3
"""Runs tessaran-analyze on the shipped samples: exit statuses and messages, nothing left behind
by a failed run, editions through CSV and back byte for byte, the JSON summary, and the epoch of
Sample C recovered. Usage: analyze_test.py TOOL DATA_FOLDER WORK_FOLDER"""
import csv
import io
import json
import math
import os
import pathlib
import shutil
import subprocess
import sys

TOOL, DATA, WORK = sys.argv[1:4]
REF = os.path.join(DATA, "catb.bin")
SAMPLES = [os.path.join(DATA, name) for name in ("cat1.dat", "cat2.dat", "cat3.dat")]
SAMPLE_C_JD = 1673941.0  # 1 Jan 130 BC
failures = []
work = lambda name: os.path.join(WORK, name)
read = lambda path: pathlib.Path(path).read_bytes()
write = lambda path, data: pathlib.Path(path).write_bytes(data)


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*args):
    return subprocess.run([TOOL, *args], capture_output=True, timeout=300, encoding="latin-1")


def analyze(*args):
    """An analysis of Sample A unless the arguments name another edition (the last one wins)."""
    return run("--reference", REF, "--edition", SAMPLES[0], *args)


def csv_rows(path, reader=csv.DictReader):
    return list(reader(io.StringIO(read(path).decode("latin-1"), newline="")))


def change_csv(source, target, line, column, value):
    """Copies a CSV file with one field (1-based line and column) changed."""
    rows = csv_rows(source, csv.reader)
    rows[line - 1][column - 1] = value
    out = io.StringIO(newline="")
    csv.writer(out, lineterminator="\r\n").writerows(rows)
    write(target, out.getvalue().encode("latin-1"))


def astronomical(year):
    """A historical decimal year (no year 0, -130.5 the middle of 130 BC) counted with a year 0."""
    whole = math.trunc(year)
    return (whole + 1 if whole < 0 else whole) + abs(year - whole)


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(work("taken"))
for name in ("keep.dat", "keep.csv"):
    write(work(name), b"keep")

# Editions through CSV and back give the same bytes.
for sample in SAMPLES:
    exported = run("--export-edition", work("e.csv"), "--edition", sample)
    imported = run("--import-edition", work("e.csv"), "--output", work("e.dat"))
    check(exported.returncode == imported.returncode == 0 and read(work("e.dat")) == read(sample),
          f"{sample}: CSV round trip changed the bytes: {exported.stderr} {imported.stderr}")
# One bad value in the CSV: the line and column are named and nothing is written.
change_csv(work("e.csv"), work("bad.csv"), 3, 5, "6x")

# Exit status, the message, and the options.
cases = [
    (2, "unknown option --colour", ["--colour", "red"]),
    (2, 'bad value "x" for --epoch', ["--epoch", "x"]),
    (2, 'bad value "1,2,3" for --offsets', ["--offsets", "1,2,3"]),
    (2, 'bad value "Andromedae" for --constellation', ["--constellation", "Andromedae"]),
    (2, 'bad value "500,-500" for --fit-epoch', ["--fit-epoch", "500,-500"]),
    (2, "--csv needs a value", ["--csv"]),
    (2, "unexpected argument stray", ["stray"]),
    (2, "--output goes with --import-edition", ["--import-edition", work("e.csv")]),
    (1, "cannot read the reference catalogue", ["--reference", work("missing.bin")]),
    (1, "cannot read " + work("missing.csv"), ["--edition", work("missing.csv")]),
    (1, "cannot write " + work("no/such/x.csv"), ["--csv", work("no/such/x.csv")]),
    (1, "cannot write " + work("taken"), ["--export-edition", work("taken"), "--edition", SAMPLES[0]]),
    (1, "bad.csv: line 3, column 5 (longitude_deg)",
     ["--import-edition", work("bad.csv"), "--output", work("keep.dat")]),
    (1, "line 3, column 5", ["--edition", work("bad.csv"), "--csv", work("keep.csv")]),
    (2, 'bad value "5=x" for --identify', ["--identify", "5=x", "--output", work("keep.dat")]),
    (1, "there is no ancient star 0 (1 to 1028)", ["--identify", "0=5", "--output", work("keep.dat")]),
    (1, "reference star 92 is not in", ["--identify", "1=424,2=92", "--output", work("keep.dat")]),
]
for status, message, args in cases:
    converting = "--export-edition" in args or "--import-edition" in args
    result = run(*args) if converting else analyze(*args)
    check(result.returncode == status and message in result.stderr and not result.stdout,
          f"{args}: exit {result.returncode}, expected {status}; stderr lacks {message!r}: "
          f"{result.stderr!r}; stdout {result.stdout[:80]!r}")
check(sorted(os.listdir(WORK)) == ["bad.csv", "e.csv", "e.dat", "keep.csv", "keep.dat", "taken"],
      f"failed runs left files behind: {sorted(os.listdir(WORK))}")
check(all(read(work(name)) == b"keep" for name in ("keep.dat", "keep.csv")),
      "a failed run overwrote its output file")

# --identify changes the identifications asked for and nothing else.
run("--edition", SAMPLES[0], "--identify", "700=2061,12=0", "--output", work("id.dat"))
for name, edition in (("a.csv", SAMPLES[0]), ("id.csv", work("id.dat"))):
    run("--export-edition", work(name), "--edition", edition)
changed = [(a["catalog_number"], b["identification"]) for a, b in
           zip(csv_rows(work("a.csv")), csv_rows(work("id.csv"))) if a != b]
check(changed == [("12", "0"), ("700", "2061")], f"--identify changed {changed}")

# Sample C at its own epoch, fitted: one JSON object, a CSV row per star.
result = analyze("--edition", SAMPLES[2], "--year", "130 BC", "--fit-offsets", "--fit-epoch", "--json",
             "--csv", work("c.csv"))
summary = json.loads(result.stdout)
fit = summary["epoch_fit"]
check(summary["epoch"]["jd"] == SAMPLE_C_JD and summary["epoch"]["year"] == -130,
      f"epoch of 130 BC read as {summary['epoch']}")
check(summary["stars"] == {"listed": 1028, "compared": 1028, "unidentified": 0, "not_in_reference": 0},
      f"star counts {summary['stars']}")
check(len(summary["constellations"]) == 48 and summary["constellations"][40]["name"] == "Hydra",
      "not every constellation is summarised in table order")
years_off = (fit["epoch_jd"] - SAMPLE_C_JD) / 365.25
check(fit["fitted"] and abs(years_off) < 2 * fit["epoch_uncertainty_years"],
      f"fitted epoch {fit['epoch_date']} misses 130 BC by {years_off:.1f} years, "
      f"more than twice {fit['epoch_uncertainty_years']:.1f}")
check(abs(astronomical(fit["epoch_year"]) - astronomical(-130) - years_off) < 0.01,
      f"epoch year {fit['epoch_year']} does not match the Julian Date")
rows = csv_rows(work("c.csv"))
check(len(rows) == 1028 and all(row["status"] == "compared" for row in rows),
      "the CSV has not one compared row per star")

# A star without identification: counted, and left out of the residuals and the fit.
change_csv(work("e.csv"), work("one_unidentified.csv"), 2, 11, "0")  # Sample C's, from above
result = analyze("--edition", work("one_unidentified.csv"), "--constellation", "ursa minor", "--json",
                 "--fit-epoch")
summary = json.loads(result.stdout)
check(summary["stars"]["unidentified"] == 1 and summary["residuals"]["stars"] == 7
      and [c["name"] for c in summary["constellations"]] == ["Ursa Minor"]
      and summary["epoch_fit"]["stars_used"] + summary["epoch_fit"]["stars_left_out"] == 7,
      f"one constellation with one unidentified star: {summary['stars']}")

# The readable summary names what the fit rests on.
text = analyze("--edition", SAMPLES[1], "--fit-epoch", "-500,800").stdout
for phrase in ("Whole edition", "Epoch fitted", "bootstrap", "faster than 0.5\"/yr", "correlation"):
    check(phrase in text, f"the summary lacks {phrase!r}")
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
