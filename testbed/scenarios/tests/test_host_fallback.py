"""The road of a host that runs no 32-bit code, taken on any host with ORVO_NO_32BIT=1: the probe
answers no, a 32-bit Wine session records why and every program of it is skipped (exit 77) with
that reason, and a program without a session fails saying so."""
import os
import subprocess
from pathlib import Path

import pytest

SOURCE = Path(__file__).resolve().parents[3]


def run(*command):
    done = subprocess.run([str(SOURCE / command[0]), *command[1:]], capture_output=True,
                          text=True, env=dict(os.environ, ORVO_NO_32BIT="1"), timeout=60)
    return done.returncode, done.stdout + done.stderr


CASES = {
    # name: (command, with STATE for the state folder; exit code; what it says)
    "probe": (["scripts/host-probe"], 1,
              "32-bit code on this host: no (forced by ORVO_NO_32BIT=1)"),
    "32-bit session": (["cmake/wine-session.sh", "setup", "STATE/win32", "32"], 77,
                       "skipped: a 32-bit Windows program cannot run here"),
    "session of no known width": (["cmake/wine-session.sh", "setup", "STATE/win16", "16"], 2,
                                  "usage"),
    "program without a session": (["cmake/wine-run.sh", "STATE/none", "settings_test.exe"], 1,
                                  "its setup did not run or failed"),
}


@pytest.mark.parametrize("case", CASES, ids=list(CASES))
def test_each_step_says_why(tmp_path, case):
    command, code, said = CASES[case]
    seen = run(*[part.replace("STATE", str(tmp_path)) for part in command])
    assert seen[0] == code and said in seen[1], f"expected exit {code} and \"{said}\"; saw {seen}"


def test_programs_of_a_skipped_session_are_skipped_with_its_reason(tmp_path):
    run("cmake/wine-session.sh", "setup", f"{tmp_path}/win32", "32")
    code, said = run("cmake/wine-run.sh", f"{tmp_path}/win32", "settings_test.exe")
    assert code == 77 and "forced by ORVO_NO_32BIT=1" in said, (code, said)
