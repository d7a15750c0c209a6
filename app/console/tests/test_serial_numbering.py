"""No two devices get one serial number: a station with a history file of its own, one that
cannot be written, a counter at its end, a burn killed halfway, and two stations sharing one
history. The numbers are read from what the devices received."""
import os
import signal
import subprocess

import pytest

from orvo_sim import Device, Station, numbered_devices, run_shift, wait_for

# Two stations at once are run many times natively; under Wine each start of orvo costs a
# second, and the lock is the same.
REPEATS = 3 if os.environ.get("ORVO_WINE_STATE") else 20


def is_serial(text):
    return len(text) == 12 and text.isdigit() and text.isascii()


def assert_distinct_and_recorded(burned, history):
    assert all(is_serial(n) for n in burned), f"not 12 digits: {burned}"
    assert len(set(burned)) == len(burned), f"one number burned twice: {burned}"
    missing = [n for n in burned if n not in history]
    assert not missing, f"burned but not in the history: {missing}; history {history}"


def read_only_history(tool):
    (tool.path / "records.txt").write_text("")
    (tool.path / "records.txt").chmod(0o444)


CASES = {
    # name: (HISTORY_SN, burn_sn.txt, prepare, expected exit, what orvo must say)
    "history of its own": ("records.txt", "961990000105\r\n", None, 0, None),
    "history that cannot be written": ("records.txt", "961990000105\r\n", read_only_history, 2,
                                       "[T15]"),
    "counter at its end": ("burn_sn.txt", "961999999999\r\n", None, 6, "[T14]"),
}


@pytest.mark.parametrize("case", CASES, ids=list(CASES))
def test_station_gives_every_device_its_own_number(orvo, tool, tmp_path, case):
    history_name, numbers, prepare, expected_exit, said = CASES[case]
    tool.set_history(history_name)
    (tool.path / "burn_sn.txt").write_text(numbers, newline="")
    if prepare:
        prepare(tool)
    device = Device(tmp_path / "line", orvo)
    station = Station(orvo, tool, device, "station.csv", "--burn")
    run_shift([station], numbered_devices(1, 3))
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
    first = Device(tmp_path / "first", orvo)
    killed = subprocess.Popen(orvo.command("write-sn"), cwd=tool.path,
                              env=orvo.environment(**first.settings(plugged=False,
                                                                    ORVO_SIM_LATENCY_US="400000")),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    taken = wait_for("the device to take command 9", first.numbers_burned, timeout=60)
    killed.send_signal(signal.SIGKILL)
    killed.wait()

    second = Device(tmp_path / "second", orvo)
    run = orvo.run(tool, "write-sn", **second.settings(plugged=False))
    assert run.code == 0, run.err
    assert second.numbers_burned() != taken, "the second device got the first one's number"
    assert f"Serial number {taken[0]} was taken" in run.err, run.err
    assert_distinct_and_recorded(taken + second.numbers_burned(),
                                 tool.lines("burn_sn.txt") + taken)


@pytest.mark.parametrize("attempt", range(REPEATS))
def test_two_stations_sharing_one_history_never_give_one_number_twice(orvo, tool, tmp_path,
                                                                       attempt):
    devices = [Device(tmp_path / f"line{n}", orvo) for n in (1, 2)]
    stations = [Station(orvo, tool, d, f"station{n}.csv", "--burn")
                for n, d in enumerate(devices, 1)]
    run_shift(stations, numbered_devices(2, 4))
    for station in stations:
        assert station.finish() == 0, station.output()
    burned = [n for d in devices for n in d.numbers_burned()]
    assert len(burned) == 8
    assert_distinct_and_recorded(burned, tool.lines("burn_sn.txt"))
