import os
import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "testbed" / "scenarios"))

from orvo_sim import ToolFolder  # noqa: E402


@pytest.fixture
def orvo():
    """orvo built natively on the simulated device."""
    return os.environ["ORVO"]


@pytest.fixture
def tool(tmp_path):
    return ToolFolder(tmp_path / "tool", Path(os.environ["ORVO_DATA"]),
                      Path(os.environ["ORVO_IMAGE"]))
