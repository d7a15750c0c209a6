"""orvo on the simulated device, as a production line runs it: a tool folder, devices plugged in
and out through the simulator's plug file, and the numbers the devices received, read from the
simulator's own traffic log (not from orvo's words)."""
import os
import re
import shutil
import subprocess
import time
from pathlib import Path

WRITE_SERIAL = re.compile(r"^write pipe 1 16 -> 16: 55 AA 09((?: [0-9A-F]{2}){12})")


def wait_for(what, condition, timeout=60.0):
    """Polls `condition` until it returns something true; fails saying what was awaited."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.02)
    raise AssertionError(f"timed out after {timeout} s waiting for {what}")


class ToolFolder:
    """A tool's folder: CONFIG.INI, language.ini and the upgrade file of the sample data."""

    def __init__(self, path: Path, data: Path, image: Path):
        self.path = path
        path.mkdir(parents=True, exist_ok=True)
        for name in ("CONFIG.INI", "language.ini"):
            shutil.copy(data / name, path / name)
        shutil.copy(image, path / "orvo_upgrade.bin")

    def set_history(self, value: str):
        config = (self.path / "CONFIG.INI").read_text(encoding="ascii")
        config = config.replace("HISTORY_SN=burn_sn.txt", f"HISTORY_SN={value}")
        (self.path / "CONFIG.INI").write_text(config, encoding="ascii", newline="")

    def lines(self, name: str):
        path = self.path / name
        return path.read_text(encoding="latin-1").splitlines() if path.exists() else []


class Device:
    """One simulated device as a process sees it: its plug file and its output folder."""

    def __init__(self, folder: Path):
        folder.mkdir(parents=True, exist_ok=True)
        self.plug = folder / "plug"
        self.output = folder / "output"
        self.plug.write_text("")

    def environment(self):
        env = dict(os.environ)
        env.update(ORVO_SIM_PLUG=str(self.plug), ORVO_SIM_OUTPUT=str(self.output))
        return env

    def plug_in(self, serial: str):
        self.plug.write_text(serial + "\n")

    def unplug(self):
        self.plug.write_text("")

    def numbers_burned(self):
        """The 12 bytes of every command 9 the devices behind this plug file received."""
        log = self.output / "traffic.log"
        if not log.exists():
            return []
        found = []
        for line in log.read_text(encoding="ascii").splitlines():
            match = WRITE_SERIAL.match(line)
            if match:
                found.append(bytes(int(b, 16) for b in match.group(1).split()).decode("latin-1"))
        return found


class Station:
    """`orvo station` running in the background on one plug file; its output kept in a file."""

    def __init__(self, orvo: str, tool: ToolFolder, device: Device, log_name: str, *options):
        self.device = device
        self.out_path = device.plug.with_name("station.out")
        self.out = open(self.out_path, "wb")
        self.process = subprocess.Popen(
            [orvo, "station", "--log", log_name, *options], cwd=tool.path,
            env=device.environment(), stdin=subprocess.PIPE, stdout=self.out,
            stderr=subprocess.STDOUT)

    def output(self):
        return self.out_path.read_text(encoding="utf-8", errors="replace")

    def count(self, text):
        return self.output().count(text)

    def await_count(self, text, count, timeout=60.0):
        def seen():
            if self.count(text) >= count:
                return True
            if self.process.poll() is not None:
                raise AssertionError(f'orvo ended (exit {self.process.returncode}) before '
                                     f'"{text}" x{count}; it printed:\n{self.output()}')
            return False
        wait_for(f'"{text}" x{count} in the station output:\n{self.output()}', seen, timeout)

    def finish(self, timeout=30.0):
        """Ends the station at the end of its input; its exit code."""
        self.process.stdin.close()
        code = self.process.wait(timeout)
        self.out.close()
        return code


def run_shift(stations, devices_each, first_serial=961990000300):
    """Plugs one device into every station at the same moment, waits until each is done with it,
    unplugs them all together; `devices_each` times. A station that stops early ends its part."""
    serial = first_serial
    for round_ in range(1, devices_each + 1):
        live = [s for s in stations if s.process.poll() is None]
        for station in live:
            station.await_count("waiting for the next device", round_)
        for station in live:
            station.device.plug_in(str(serial))
            serial += 1
        for station in live:
            try:
                station.await_count("unplug the device", round_)
            except AssertionError:
                if station.process.poll() is None:
                    raise
        for station in stations:
            station.device.unplug()
