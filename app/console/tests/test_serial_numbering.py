"""No two devices get one serial number: a station with a history file of its own, one that
cannot be written, a counter at its end, a burn killed halfway, and two stations sharing one
history. The numbers are read from what the devices received."""
import os
import signal
import subprocess
import time

import pytest

from orvo_sim import Device, Station, run_shift, wait_for

DIGITS = set("0123456789")


def is_serial(text):
    return len(text) == 12 and set(text) <= DIGITS


def assert_distinct_and_recorded(burned, history):
    assert all(is_serial(n) for n in burned), f"not 12 digits: {burned}"
    assert len(set(burned)) == len(burned), f"one number burned twice: {burned}"
    missing = [n for n in burned if n not in history]
    assert not missing, f"burned but not in the history: {missing}; history {history}"


CASES = {
    # name: (HISTORY_SN, burn_sn.txt, prepare, expected exit, what orvo must say)
    "history of its own": ("records.txt", "961990000105\r\n", None, 0, None),
    "history that cannot be written": ("records.txt", "961990000105\r\n",
                                       lambda tool: ((tool.path / "records.txt").write_text(""),
                                                     (tool.path / "records.txt").chmod(0o444)),
                                       2, "[T15]"),
    "counter at its end": ("burn_sn.txt", "961999999999\r\n", None, 6, "[T14]"),
}


@pytest.mark.parametrize("case", CASES, ids=list(CASES))
def test_station_gives_every_device_its_own_number(orvo, tool, tmp_path, case):
    history_name, numbers, prepare, expected_exit, said = CASES[case]
    tool.set_history(history_name)
    (tool.path / "burn_sn.txt").write_text(numbers, newline="")
    if prepare:
        prepare(tool)
    device = Device(tmp_path / "line")
    station = Station(orvo, tool, device, "station.csv", "--burn")
    run_shift([station], 3)
    assert station.finish() == expected_exit, station.output()
    burned = device.numbers_burned()
    assert_distinct_and_recorded(burned, tool.lines(history_name))
    if said:
        assert said in station.output()
        assert burned == [], "nothing may be burned when no number can be given out"
    else:
        assert len(burned) == 3, station.output()
        # The log names the number each device was given.
        logged = [line.split(",")[-1] for line in tool.lines("station.csv")[1:]]
        assert logged == burned


def test_burn_killed_before_the_reply_never_gives_its_number_again(orvo, tool, tmp_path):
    first = Device(tmp_path / "first")
    env = dict(first.environment(), ORVO_SIM_PLUG="", ORVO_SIM_LATENCY_US="400000")
    killed = subprocess.Popen([orvo, "write-sn"], cwd=tool.path, env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    taken = wait_for("the device to take command 9", first.numbers_burned, timeout=30)
    killed.send_signal(signal.SIGKILL)
    killed.wait()

    second = Device(tmp_path / "second")
    env = dict(second.environment(), ORVO_SIM_PLUG="")
    run = subprocess.run([orvo, "write-sn"], cwd=tool.path, env=env, capture_output=True,
                         text=True, timeout=60)
    assert run.returncode == 0, run.stderr
    assert second.numbers_burned() != taken, "the second device got the first one's number"
    assert f"Serial number {taken[0]} was taken" in run.stderr, run.stderr
    assert_distinct_and_recorded(taken + second.numbers_burned(), tool.lines("burn_sn.txt") + taken)


@pytest.mark.parametrize("attempt", range(20))
def test_two_stations_sharing_one_history_never_give_one_number_twice(orvo, tool, tmp_path,
                                                                       attempt):
    devices = [Device(tmp_path / f"line{n}") for n in (1, 2)]
    stations = [Station(orvo, tool, d, f"station{n}.csv", "--burn")
                for n, d in enumerate(devices, 1)]
    run_shift(stations, 4)
    for station in stations:
        assert station.finish() == 0, station.output()
    burned = [n for d in devices for n in d.numbers_burned()]
    assert len(burned) == 8
    assert_distinct_and_recorded(burned, tool.lines("burn_sn.txt"))
