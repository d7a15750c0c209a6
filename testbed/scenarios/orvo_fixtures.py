"""The fixtures every scenario of orvo shares, loaded by run_scenarios.py: orvo as the build at
hand makes it (natively, or orvo.exe of dist-sim/ in the run's Wine session) and a tool folder
with the sample files."""
import os
from pathlib import Path

import pytest

from orvo_sim import Orvo, ToolFolder, WineSession

SOURCE = Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def orvo():
    state = os.environ.get("ORVO_WINE_STATE")
    return Orvo(os.environ["ORVO_PROGRAM"], WineSession(Path(state)) if state else None)


@pytest.fixture
def tool(tmp_path, orvo):
    return ToolFolder(tmp_path / "tool", SOURCE / "data",
                      SOURCE / "testbed" / "sim" / "sample" / "orvo_upgrade.bin", orvo)
