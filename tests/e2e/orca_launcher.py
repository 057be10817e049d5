"""Starts Debian's Orca with its debug output written line by line to a file, so that a test can
read what it speaks (its "SPEECH OUTPUT:" lines) while it runs: Orca's own --debug-file is
block-buffered. Orca refuses to start beside another Orca of the same user, wherever that runs;
a test's Orca has a D-Bus session and a screen of its own, so it looks for no other.

Usage: orca_launcher.py LOGFILE [orca options...]"""

import runpy
import sys

sys.path.insert(1, "/usr/lib/python3/dist-packages")
from orca import debug  # noqa: E402

debug.debugLevel = debug.LEVEL_INFO
debug.debugFile = open(sys.argv[1], "w", buffering=1, encoding="utf-8")
sys.argv = ["orca"] + sys.argv[2:]
script = runpy.run_path("/usr/bin/orca", run_name="orca_launcher")
scope = script["main"].__globals__
scope["otherOrcas"] = lambda: []
sys.exit(scope["main"]())
