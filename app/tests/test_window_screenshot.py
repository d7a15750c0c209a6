"""The main window as the X server shows it, on the simulated device, checked pixel by pixel
against the layout: the pictures of window_shots.py (three languages, before, during and after
an upgrade and after a device failure, and the About box), kept in ARTIFACTS/screenshots, and
compared with the committed ones of docs/screenshots."""
import os
import re
import shutil
import subprocess
from pathlib import Path

import pytest

from orvo_sim import WineSession
from window_shots import Drive, RunningTool, take_shots

SOURCE = Path(__file__).resolve().parents[2]
DIST = Path(os.environ.get("ORVO_DIST_SIM", "."))
COMMITTED = SOURCE / "docs" / "screenshots"
# The background's inner panel, inclusive: app/resources/art/background.py.
PANEL = (15, 31, 466, 323)


def magick(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False).stdout.strip()


def pixel(picture, x, y):
    text = magick("convert", str(picture), "-format", f"%[pixel:p{{{x},{y}}}]", "info:")
    return re.sub(r"^s?rgb\((.*)\)$", r"\1", text)


def size(picture):
    return magick("identify", "-format", "%wx%h", str(picture))


def red_box(picture, x, y, w, h):
    """The bounding box (width, height, left, top) of the red pixels in a part of a picture."""
    found = magick("convert", str(picture), "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-fuzz",
                   "30%", "-fill", "black", "+opaque", "red", "-fill", "white", "-opaque", "red",
                   "-format", "%@", "info:")
    match = re.match(r"^(\d+)x(\d+)\+(\d+)\+(\d+)$", found)
    return tuple(map(int, match.groups())) if match else (0, 0, 0, 0)


@pytest.fixture(scope="module")
def session():
    return WineSession(Path(os.environ["ORVO_WINE_STATE"]))


@pytest.fixture(scope="module")
def layout(session, tmp_path_factory):
    """Where the controls are, as the template's font lays them out, and the system colours."""
    drive = Drive(session, Path(os.environ["ORVO_DRIVE"]))
    tool = RunningTool(session, drive, DIST, tmp_path_factory.mktemp("layout") / "tool",
                       "LANGUAGE_EN")
    found = {name: [int(n) for n in drive("control-rect", id_).split()]
             for name, id_ in (("minimise", 1021), ("label", 1014), ("field", 1002),
                               ("bar", 1009))}
    found["window colour"] = drive("colour", 5)
    found["highlight colour"] = drive("colour", 13)
    tool.stop()
    return found


@pytest.fixture(scope="module")
def shots(session):
    out = Path(os.environ["ORVO_ARTIFACTS"]) / "screenshots"
    shutil.rmtree(out, ignore_errors=True)
    take_shots(session, DIST, Path(os.environ["ORVO_DRIVE"]), out)
    return out


def test_the_label_and_the_bar_keep_their_places(layout):
    label_x, _, label_w, _ = layout["label"]
    assert label_x + label_w <= layout["field"][0], f"the SN label runs into its field: {layout}"
    x, y, w, h = layout["bar"]
    left, top, right, bottom = PANEL
    assert x >= left and y >= top and x + w - 1 <= right and y + h - 1 <= bottom, \
        f"the progress bar ({x},{y} {w}x{h}) passes the panel {PANEL}"


@pytest.mark.parametrize("language", ["en", "fr", "sp"])
def test_each_language_draws_title_number_and_bar(shots, layout, language):
    for stage in ("before", "after", "during", "failure"):
        assert size(shots / f"{language}-{stage}.png") == "480x360", stage
    before, after = shots / f"{language}-before.png", shots / f"{language}-after.png"
    width, _, left, _ = red_box(before, 0, 0, 480, 18)
    assert width > 100, "no red title at the top left"
    assert left > 0, "the title is cut on the left"
    assert left + width - 1 < layout["minimise"][0], "the title runs into the title-bar buttons"
    fx, fy, fw, fh = layout["field"]
    width, height, left, _ = red_box(after, fx, fy, fw, fh)
    assert width >= 60 and height >= 8, f"the serial number takes only {width} x {height} px"
    assert left + width <= fw - 3, "the serial number runs to the field's right border"
    for x in (30, 440):
        assert pixel(after, x, 310) == layout["highlight colour"], f"full bar at ({x},310)"


def test_the_skin_shows_where_no_control_covers_it(shots, layout):
    before = shots / "en-before.png"
    background = SOURCE / "app" / "resources" / "art" / "background.bmp"
    for x, y in ((5, 200), (100, 345), (470, 200), (30, 200), (400, 250)):
        assert pixel(before, x, y) == pixel(background, x, y), f"background at ({x},{y})"
    assert pixel(before, 30, 200) == "200,204,205", "panel colour"
    assert pixel(before, 300, 108) == "199,203,204", "the SN field is empty after start-up"
    for x in (30, 440):
        assert pixel(before, x, 310) == layout["window colour"], f"empty bar at ({x},310)"
    assert pixel(shots / "en-after.png", 30, 200) == "200,204,205", "panel after the upgrade"


def test_the_committed_pictures_are_what_the_program_draws(shots):
    """The same program in the same fonts draws the same pixels, but for a few that the fuzz
    takes in (anti-aliasing); the picture during the upgrade catches the bar wherever it is, so
    only its size counts."""
    made = {p.name for p in shots.glob("*.png")}
    committed = {p.name for p in COMMITTED.glob("*.png")}
    stale = [f"{n} (not in docs)" for n in sorted(made - committed)]
    stale += [f"{n} (no longer made)" for n in sorted(committed - made)]
    for name in sorted(made & committed):
        ours, theirs = shots / name, COMMITTED / name
        if size(ours) != size(theirs):
            stale.append(f"{name} (another size)")
        elif not name.endswith("-during.png"):
            done = subprocess.run(["compare", "-metric", "AE", "-fuzz", "10%", str(ours),
                                   str(theirs), "null:"], capture_output=True, text=True)
            differing = done.stderr.strip().split(".")[0]
            if not differing.isdigit() or int(differing) > 20:
                stale.append(f"{name} ({done.stderr.strip()} pixels differ)")
    assert not stale, ("the pictures of docs/screenshots are not what the program draws now: "
                       f"{stale}; run scripts/screenshots and commit them")
