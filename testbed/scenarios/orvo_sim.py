"""orvo on the simulated device, as a production line runs it: a tool folder, devices plugged in
and out through the simulator's plug file, and the numbers the devices received, read from the
simulator's own traffic log (not from orvo's words). orvo runs natively, or as orvo.exe under
the Wine session of the test run (cmake/wine-session.sh)."""
import os
import re
import shutil
import subprocess
import tempfile
import time
from dataclasses import dataclass
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


class WineSession:
    """The Wine session a CTest fixture set up in STATE: its prefix, screen and loader."""

    def __init__(self, state: Path):
        self.state = state

    def skip_reason(self):
        skip = self.state / "skip"
        return skip.read_text().strip() if skip.exists() else None

    def environment(self, env):
        env = dict(env)
        env.update(WINEPREFIX=str(self.state / "prefix"), WINEDLLOVERRIDES="mscoree,mshtml=")
        env.setdefault("WINEDEBUG", "-all")
        env["PATH"] = f"{self.state / 'bin'}:{env.get('PATH', '')}"
        display = self.state / "display"
        if display.exists():
            env["DISPLAY"] = display.read_text().strip()
        return env


@dataclass
class Orvo:
    """How to start orvo in a tool folder, and how it names a file of this machine."""
    program: str
    wine: WineSession = None

    def command(self, *args):
        """orvo of the tool folder it runs in (install), as a technician starts it there."""
        return (["wine", "orvo.exe"] if self.wine else ["./orvo"]) + list(args)

    def seen(self, path):
        return f"Z:{path}" if self.wine else str(path)

    def environment(self, **settings):
        env = dict(os.environ)
        for name in ("ORVO_SIM_SERIAL", "ORVO_SIM_FAULTS", "ORVO_SIM_LATENCY_US", "ORVO_SIM_PLUG"):
            env.pop(name, None)
        env.update({k: v for k, v in settings.items() if v is not None})
        return self.wine.environment(env) if self.wine else env

    def install(self, folder: Path):
        shutil.copy(self.program, folder / ("orvo.exe" if self.wine else "orvo"))
        if self.wine:
            shutil.copy(Path(self.program).with_name("qxUSBDevAdv.dll"), folder)

    def run(self, tool, *args, timeout=120, **settings):
        """One run to its end: exit code, standard output and standard error as text."""
        code, out, err = run_to_files(self.command(*args), tool.path,
                                      self.environment(**settings), timeout)
        return Run(code, text_of(out), text_of(err))


def run_to_files(command, cwd, env, timeout=120):
    """Runs a program to its end: exit code, standard output and standard error as bytes. Wine's
    helper processes outlive the program, so its output goes through files, not pipes."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                              env=env, timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


@dataclass
class Run:
    code: int
    out: str
    err: str


def text_of(data: bytes):
    return data.decode("utf-8", errors="replace").replace("\r\n", "\n")


class ToolFolder:
    """A tool's folder: the sample CONFIG.INI, language.ini and burn_sn.txt, the upgrade file,
    and orvo."""

    def __init__(self, path: Path, data: Path, image: Path, orvo: Orvo):
        self.path = path
        path.mkdir(parents=True, exist_ok=True)
        for name in ("CONFIG.INI", "language.ini", "burn_sn.txt"):
            shutil.copy(data / name, path / name)
        shutil.copy(image, path / "orvo_upgrade.bin")
        orvo.install(path)

    def set_history(self, value: str):
        config = (self.path / "CONFIG.INI").read_text(encoding="ascii")
        config = config.replace("HISTORY_SN=burn_sn.txt", f"HISTORY_SN={value}")
        (self.path / "CONFIG.INI").write_text(config, encoding="ascii", newline="")

    def lines(self, name: str):
        path = self.path / name
        return path.read_text(encoding="latin-1").splitlines() if path.exists() else []


class Device:
    """The simulated devices one process sees: its plug file and its output folder."""

    def __init__(self, folder: Path, orvo: Orvo):
        folder.mkdir(parents=True, exist_ok=True)
        self.orvo = orvo
        self.plug = folder / "plug"
        self.output = folder / "output"
        self.plug.write_text("")

    def settings(self, plugged=True, **more):
        """ORVO_SIM_* for a process on these devices; not plugged: the one device always there."""
        return dict(ORVO_SIM_PLUG=self.orvo.seen(self.plug) if plugged else None,
                    ORVO_SIM_OUTPUT=self.orvo.seen(self.output), **more)

    def plug_in(self, line: str):
        self.plug.write_text(line + "\n")

    def unplug(self):
        self.plug.write_text("")

    def received(self, name):
        return (self.output / name).read_bytes()

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
    """`orvo station` running in the background on one device's plug file; its output kept in
    a file beside the plug file."""

    def __init__(self, orvo: Orvo, tool: ToolFolder, device: Device, log_name: str, *options,
                 **settings):
        self.device = device
        self.out_path = device.plug.with_name("station.out")
        self.out = open(self.out_path, "wb")
        self.process = subprocess.Popen(
            orvo.command("station", "--log", log_name, *options), cwd=tool.path,
            env=orvo.environment(**device.settings(), **settings), stdin=subprocess.PIPE,
            stdout=self.out, stderr=subprocess.STDOUT)

    def output(self):
        return text_of(self.out_path.read_bytes())

    def await_count(self, text, count, timeout=60.0):
        def seen():
            if self.output().count(text) >= count:
                return True
            if self.process.poll() is not None:
                raise AssertionError(f'orvo ended (exit {self.process.returncode}) before '
                                     f'"{text}" x{count}; it printed:\n{self.output()}')
            return False
        wait_for(f'"{text}" x{count} in the station output:\n{self.output()}', seen, timeout)

    def finish(self, timeout=60.0):
        """Ends the station at the end of its input; its exit code."""
        self.process.stdin.close()
        code = self.process.wait(timeout)
        self.out.close()
        return code


def run_shift(stations, plug_lines):
    """Plugs the next line's device into every station at the same moment, waits until each is
    done with it, unplugs them all together, for each of `plug_lines` (a list per round, one
    line per station). A station that stops early sits out the rest."""
    for round_, lines in enumerate(plug_lines, 1):
        live = [s for s in stations if s.process.poll() is None]
        for station in live:
            station.await_count("waiting for the next device", round_)
        for station, line in zip(stations, lines):
            if station in live:
                station.device.plug_in(line)
        for station in live:
            try:
                station.await_count("unplug the device", round_)
            except AssertionError:
                if station.process.poll() is None:
                    raise
        for station in stations:
            station.device.unplug()


def numbered_devices(stations, rounds, first=961990000300):
    """Plug lines for `rounds` rounds: every device its own serial number."""
    serial = iter(range(first, first + stations * rounds))
    return [[str(next(serial)) for _ in range(stations)] for _ in range(rounds)]
