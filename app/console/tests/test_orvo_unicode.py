"""orvo.exe under Wine in a folder whose name has an "é", with --lang FR, as a French
technician's PC has it: every --json line is UTF-8 JSON with the path and the French texts
intact; what it writes to a console shows them too; the console's code pages are what they were
before; and files named by such paths are opened and written."""
import json
import os
import shutil
from pathlib import Path

import pytest

from orvo_sim import WineSession, run_to_files, text_of

KEPT = "input code page 850 850, output code page 850 850, exit code {}"


def windows(path):
    return "Z:" + str(path).replace("/", "\\")


@pytest.fixture
def folder(tmp_path):
    folder = tmp_path / "dossier é"
    shutil.copytree(os.environ["ORVO_DIST_SIM"], folder)
    return folder


@pytest.fixture
def wine_env(tmp_path):
    # Wine reads its command line and the Unix file names in the encoding of the Unix locale.
    env = dict(os.environ, LC_ALL="C.UTF-8", ORVO_SIM_OUTPUT=windows(tmp_path / "device"))
    return WineSession(Path(os.environ["ORVO_WINE_STATE"])).environment(env)


def french(folder, key):
    text = (folder / "language.ini").read_bytes().decode("utf-16").replace("\r", "")
    section = text.split("[LANGUAGE_FR]", 1)[1].split("\n[", 1)[0]
    return next(line.split("=", 1)[1] for line in section.splitlines()
                if line.startswith(key + "="))


def probed(folder, wine_env, probe_out, *args):
    """orvo in the console of console-probe (code page 850 before it starts): the probe's line
    about the code pages, what reached the file of standard output, what the console showed."""
    probe_out.mkdir(exist_ok=True)
    _, out, _ = run_to_files(["wine", os.environ["ORVO_CONSOLE_PROBE"], windows(probe_out),
                              windows(folder) + "\\orvo.exe", *args], folder, wine_env)
    return (text_of(out).strip(), (probe_out / "stdout.txt").read_bytes(),
            (probe_out / "screen.txt").read_text(encoding="utf-8"))


def test_json_lines_are_utf8_with_the_path_and_the_french_text(folder, wine_env, tmp_path):
    absent = windows(folder) + "\\absent é.bin"
    line, out, screen = probed(folder, wine_env, tmp_path / "probe", "upgrade", "--json",
                               "--lang", "FR", "--image", absent)
    assert line == KEPT.format(2), "the console's code pages must stay 850"
    events = [json.loads(l) for l in out.decode("utf-8").splitlines()]  # strict UTF-8
    assert events[0] == {"event": "start", "command": "upgrade"}
    assert {"event": "message", "key": "T9", "text": french(folder, "T9")} in events, events
    assert {"event": "note", "text": "cannot read " + absent} in events, events
    assert events[-1]["event"] == "failed" and events[-1]["key"] == "T9", events[-1]
    assert screen.strip() == "", f"--json wrote to the console: {screen}"


def test_the_console_shows_the_french_text_and_the_path(folder, wine_env, tmp_path):
    absent = windows(folder) + "\\absent é.bin"
    line, _, screen = probed(folder, wine_env, tmp_path / "probe", "upgrade", "--lang", "FR",
                             "--image", absent)
    assert line == KEPT.format(2), "the console's code pages must stay 850"
    rows = screen.splitlines()
    assert f"orvo: {french(folder, 'T9')} [T9]" in rows, screen
    assert f"orvo: cannot read {absent}" in rows, screen


def test_files_named_with_accents_are_read_and_written(folder, wine_env):
    image = windows(folder) + "\\orvo_upgrade.bin"
    for run in (1, 2):
        code, out, err = run_to_files(["wine", "orvo.exe", "upgrade", "--json", "--lang", "FR",
                                       "--image", image, "--log", "runs é.csv"], folder,
                                      wine_env)
        assert code == 0, (run, out, err)
        for line in out.decode("utf-8").splitlines():
            json.loads(line)
    log = (folder / "runs é.csv").read_text(encoding="utf-8")
    assert log.count("utc_time,") == 1, log
    assert log.count(f",{image},") == 2, log
