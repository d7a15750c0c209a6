#!/usr/bin/env python3
"""A production station's shift on simulated devices, for the demo: orvo.exe of the current
folder runs `station`, three devices are plugged in one after another (the second refusing a
block), then its input ends. Prints orvo's output; exits with orvo's exit code.
    station_shift.py WINE_STATE WORK_DIR [ORVO OPTIONS...]"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from orvo_sim import Device, Orvo, Station, WineSession, run_shift  # noqa: E402


class CurrentFolder:
    path = Path.cwd()


def main(state, work, *options):
    orvo = Orvo("orvo.exe", WineSession(Path(state)))
    station = Station(orvo, CurrentFolder(), Device(Path(work), orvo), "station.csv", *options)
    try:
        run_shift([station], [["961990000301"], ["961990000302 failure-reply@6:4"],
                              ["961990000303"]])
    finally:
        code = station.finish()
        print(station.output(), end="")
    return code


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
