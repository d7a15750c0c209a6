"""Pictures of the real window on the simulated device, in English, French and Spanish: before,
during and after an upgrade, and after a device failure with the failure's message box; and the
About box. Each language runs from a fresh copy of dist-sim/ whose CONFIG.INI names it. Runs in a
Wine session of cmake/wine-session.sh, on its screen.
    window_shots.py WINE_STATE DIST_SIM_DIR ORVO_DRIVE OUT_DIR"""
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from orvo_sim import WineSession, wait_for  # noqa: E402

# The failure: the device answers error code 3 (message E2) to a data frame of the external
# part. Frames 0-2 open the run and read the number, 3-7 carry the internal part's two blocks,
# 8 starts the external part, 9 and on its blocks, two frames each: frame 16 is the fourth
# block's data.
FAILURE_FAULT = "failure-reply@16:3"
LANGUAGES = {"en": "LANGUAGE_EN", "fr": "LANGUAGE_FR", "sp": "LANGUAGE_SP"}
# Each transfer takes 40 ms: an upgrade of a few seconds, long enough to catch it half-way.
LATENCY_US = "40000"


class Drive:
    """orvo-drive, which works the running tool's window from another process."""

    def __init__(self, session: WineSession, program: Path):
        self.session = session
        self.program = program

    def __call__(self, *args, check=True):
        with tempfile.TemporaryFile() as out:
            done = subprocess.run(["wine", str(self.program), *map(str, args)], stdout=out,
                                  stderr=subprocess.STDOUT, timeout=180,
                                  env=self.session.environment(dict(__import__("os").environ)))
            out.seek(0)
            text = out.read().decode("utf-8", "replace").replace("\r", "").strip()
        if check and done.returncode != 0:
            raise AssertionError(f"orvo-drive {' '.join(map(str, args))}: {text}")
        return text

    def rect(self, command="rect"):
        return [int(n) for n in self(command).split()]

    def shoot(self, picture: Path, command="rect"):
        """The window's client area, or with "message-rect" the oldest message box, into a file."""
        x, y, w, h = self.rect(command)
        subprocess.run(["import", "-display", self.session.environment({})["DISPLAY"], "-window",
                        "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", str(picture)],
                       check=True)


class RunningTool:
    """OrvoUpgradeTool.exe in a fresh copy of dist-sim/ set to a language, on a device."""

    def __init__(self, session, drive, dist: Path, folder: Path, section, faults=None):
        shutil.copytree(dist, folder)
        self.device = folder / "device"
        self.device.mkdir()
        config = (folder / "CONFIG.INI").read_text(encoding="latin-1").splitlines(keepends=True)
        config = [f"LANGUAGE={section}\r\n" if line.startswith("LANGUAGE=") else line
                  for line in config]
        (folder / "CONFIG.INI").write_text("".join(config), encoding="latin-1", newline="")
        env = session.environment(dict(__import__("os").environ,
                                       ORVO_SIM_OUTPUT=f"Z:{self.device}",
                                       ORVO_SIM_LATENCY_US=LATENCY_US))
        env.pop("ORVO_SIM_FAULTS", None)
        if faults:
            env["ORVO_SIM_FAULTS"] = faults
        self.drive = drive
        self.process = subprocess.Popen(["wine", "OrvoUpgradeTool.exe"], cwd=folder, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        drive("wait-window", 60)
        # The 100 ms timer draws the title again and again over itself, and its anti-aliased
        # edges darken with each tick until they settle, after a second or so.
        time.sleep(1.5)

    def blocks_sent(self):
        log = self.device / "traffic.log"
        return log.read_text().count("\nwrite pipe 3") if log.exists() else 0

    def stop(self):
        self.drive("click", 2)
        self.drive("wait-end", 30)
        self.process.wait(30)


def language_text(dist: Path, section, key):
    text = (dist / "language.ini").read_bytes().decode("utf-16").replace("\r", "")
    body = text.split(f"[{section}]", 1)[1].split("\n[", 1)[0]
    return next(line.split("=", 1)[1] for line in body.splitlines() if line.startswith(key + "="))


def take_shots(session: WineSession, dist: Path, drive_program: Path, out: Path):
    drive = Drive(session, drive_program)
    out.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        for run, (language, section) in enumerate(LANGUAGES.items()):
            tool = RunningTool(session, drive, dist, Path(work) / f"{run}-{language}", section)
            drive.shoot(out / f"{language}-before.png")
            if language == "en":
                drive("about")
                drive("wait-message", 30)
                time.sleep(0.3)
                drive.shoot(out / "about.png", "message-rect")
                drive("press-ok")
            drive("click", 1001)
            wait_for("7 blocks sent", lambda: tool.blocks_sent() >= 7, 30)  # of 13
            drive.shoot(out / f"{language}-during.png")
            drive("wait-text", 1009, language_text(dist, section, "T2"), 120)
            time.sleep(0.3)
            drive.shoot(out / f"{language}-after.png")
            tool.stop()

            tool = RunningTool(session, drive, dist, Path(work) / f"{run}-{language}-failure",
                               section, FAILURE_FAULT)
            drive("click", 1001)
            drive("wait-message", 120)
            time.sleep(0.3)
            drive.shoot(out / f"{language}-failure-message.png", "message-rect")
            drive("press-ok")
            drive("wait-text", 1009, language_text(dist, section, "T3"), 30)
            time.sleep(0.3)
            drive.shoot(out / f"{language}-failure.png")
            tool.stop()


if __name__ == "__main__":
    state, dist, drive_program, out = sys.argv[1:5]
    take_shots(WineSession(Path(state)), Path(dist), Path(drive_program), Path(out))
