#!/usr/bin/env python3
"""Runs scenario files with pytest, as one CTest test each. Under a Wine session
(ORVO_WINE_STATE) that cannot run programs on this host, says why and exits 77, CTest's code
for a skipped test.
    run_scenarios.py FILE... [PYTEST OPTIONS]"""
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from orvo_sim import WineSession  # noqa: E402

state = os.environ.get("ORVO_WINE_STATE")
if state:
    session = WineSession(Path(state))
    if session.skip_reason():
        print(session.skip_reason())
        sys.exit(77)
    if not (session.state / "bin" / "wine").exists():
        print(f"no Wine session in {state}: its setup did not run or failed")
        sys.exit(1)

import pytest  # noqa: E402

sys.exit(pytest.main(["-q", "-p", "no:cacheprovider", "-p", "orvo_fixtures", *sys.argv[1:]]))
