#!/usr/bin/env python3
"""The manual pages and the metainfo say what the programs do.

Usage: check_docs.py --kpr5 KPR5 --sim KPR5_RADIO_SIM --version VERSION --dir PACKAGING_DIR

- every command, long option and exit code that `kpr5 --help` prints has its
  entry in kpr5.1, and every long option of `kpr5-radio-sim --help` in
  kpr5-radio-sim.1;
- both pages and the newest release of the metainfo carry the project version.
"""
import argparse
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

a = argparse.ArgumentParser()
a.add_argument("--kpr5", required=True)
a.add_argument("--sim", required=True)
a.add_argument("--version", required=True)
a.add_argument("--dir", required=True)
args = a.parse_args()

env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
env["QT_QPA_PLATFORM"] = "offscreen"


def help_text(program):
    return subprocess.run([program, "--help"], env=env, capture_output=True, text=True,
                          timeout=60, check=True).stdout


def page(name):
    with open(os.path.join(args.dir, name), encoding="utf-8") as f:
        roff = f.read()
    return roff, roff.replace("\\-", "-")  # the page and its text with plain hyphens


def section(text, title):
    """The lines of the page's section TITLE."""
    m = re.search(r"^\.SH " + re.escape(title) + r"\n(.*?)(?=^\.SH |\Z)", text, re.M | re.S)
    return m.group(1) if m else ""


def entries(text):
    """The words of the tags of the page's .TP entries ("-h, --help" gives both)."""
    tags = re.findall(r"^\.TP\n\.[BIR]+ (.*)$", text, re.M)
    return {w for tag in tags for w in re.split(r'[\s",]+', tag) if w}


problems = []
kpr5_help = help_text(args.kpr5)
_, kpr5_page = page("kpr5.1")
options = set(re.findall(r"(?<![\w-])--[a-z][a-z0-9-]*", kpr5_help))
commands = set(re.findall(r"^  kpr5 ([a-z][a-z0-9-]*)", kpr5_help, re.M))
exit_text = kpr5_help[kpr5_help.find("Exit codes:"):]
codes = set(re.findall(r"(?:^|[\s,:])(\d+) [a-z]", exit_text))
if not options or not commands or not codes:
    problems.append(f"kpr5 --help: no options, commands or exit codes found in:\n{kpr5_help}")
problems += [f"kpr5.1 OPTIONS has no entry for {o}"
             for o in sorted(options - entries(section(kpr5_page, "OPTIONS")))]
problems += [f"kpr5.1 COMMANDS has no entry for {c}"
             for c in sorted(commands - entries(section(kpr5_page, "COMMANDS")))]
problems += [f"kpr5.1 EXIT STATUS has no entry for {c}"
             for c in sorted(codes - entries(section(kpr5_page, "EXIT STATUS")))]

sim_help = help_text(args.sim)
_, sim_page = page("kpr5-radio-sim.1")
sim_options = set(re.findall(r"(?<![\w-])--[a-z][a-z0-9-]*", sim_help))
problems += [f"kpr5-radio-sim.1 OPTIONS has no entry for {o}"
             for o in sorted(sim_options - entries(section(sim_page, "OPTIONS")))]

for name, text in (("kpr5.1", kpr5_page), ("kpr5-radio-sim.1", sim_page)):
    th = re.search(r'^\.TH .*"kpr5 ([^"]+)"', text, re.M)
    if not th or th.group(1) != args.version:
        problems.append(f"{name}: .TH names version {th and th.group(1)}, "
                        f"the project is {args.version}")
metainfo = ET.parse(os.path.join(args.dir, "io.github.kpr5.kpr5.metainfo.xml"))
release = metainfo.find("releases/release")
if release is None or release.get("version") != args.version:
    problems.append(f"metainfo: the newest release is "
                    f"{release.get('version') if release is not None else None}, "
                    f"the project is {args.version}")

for p in problems:
    print("FAIL", p)
checked = len(options) + len(commands) + len(codes) + len(sim_options) + 3
print(f"{checked - len(problems)} passed, {len(problems)} failed")
sys.exit(1 if problems else 0)
