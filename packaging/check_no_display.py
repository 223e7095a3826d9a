#!/usr/bin/env python3
"""kpr5 answers --version, --help and a wrong option without a display.

Usage: check_no_display.py KPR5 VERSION
Runs the program with DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM removed
from its environment; opening a window there aborts.
"""
import os
import subprocess
import sys

kpr5, version = sys.argv[1], sys.argv[2]
env = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}

# arguments, exit code, the whole standard output or a text it holds, a text of stderr
cases = [
    (["--version"], 0, f"kpr5 {version}\n", ""),
    (["-v"], 0, f"kpr5 {version}\n", ""),
    (["--no-splash", "--version"], 0, f"kpr5 {version}\n", ""),
    (["-style", "Fusion", "--version"], 0, f"kpr5 {version}\n", ""),  # Qt's own option
    (["--help"], 0, "kpr5 --version", ""),
    (["--port", "COM2", "--help"], 0, "kpr5 --version", ""),
    (["--no-such-option"], 2, "", "no-such-option"),
    (["--version", "--bogus"], 2, "", "bogus"),
    (["--port"], 2, "", "port"),
]
failures = 0
for args, code, out, err in cases:
    p = subprocess.run([kpr5, *args], env=env, capture_output=True, text=True, timeout=60)
    ok = (p.returncode == code and (out == p.stdout if out.endswith("\n") else out in p.stdout)
          and err in p.stderr)
    if not ok:
        failures += 1
        print(f"FAIL kpr5 {' '.join(args)}: exit {p.returncode} (want {code})\n"
              f"  stdout: {p.stdout[:300]!r}\n  stderr: {p.stderr[:300]!r}")
print(f"{len(cases) - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
