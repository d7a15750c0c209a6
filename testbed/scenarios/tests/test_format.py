"""Every C++ file of the project is as the project's .clang-format writes it."""
import shutil
import subprocess
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[3]
FOLDERS = ["app", "device", "serial", "settings", "ports", "usbpipe", "procutil", "testbed",
           "tools"]


def test_every_cpp_file_is_formatted():
    formatter = shutil.which("clang-format-14") or shutil.which("clang-format")
    assert formatter, "clang-format is not installed (scripts/bootstrap installs it)"
    files = subprocess.run(["git", "ls-files", "--", *FOLDERS], cwd=SOURCE, capture_output=True,
                           text=True, check=True).stdout.split()
    files = [f for f in files if f.endswith((".cpp", ".h"))]
    differing = [f for f in files
                 if subprocess.run([formatter, "--dry-run", "--Werror", f], cwd=SOURCE,
                                   capture_output=True).returncode != 0]
    assert not differing, (f"{len(differing)} of {len(files)} files differ from .clang-format "
                           f"(run clang-format -i on them): {differing}")
