"""orvo end to end as a production line's script runs it, on the simulated device: the parts the
device received, exit codes from real causes, --retries, --json lines, the log's SHA-256, a
number written twice, and a station over three devices."""
import hashlib
import json

import pytest

from orvo_sim import Device, Station, run_shift


@pytest.fixture
def device(tmp_path, orvo):
    return Device(tmp_path / "device", orvo)


def test_upgrade_sends_the_image_and_logs_it(orvo, tool, device):
    run = orvo.run(tool, "upgrade", "--log", "runs.csv", **device.settings(plugged=False))
    assert run.code == 0, run.err
    image = (tool.path / "orvo_upgrade.bin").read_bytes()
    assert device.received("internal.bin") + device.received("external.bin") == image[256:]
    sha = hashlib.sha256(image).hexdigest()
    assert f",961990000100,orvo_upgrade.bin,{sha},T2,," in tool.lines("runs.csv")[-1]


def test_json_gives_one_object_a_line_from_start_to_done(orvo, tool, device):
    run = orvo.run(tool, "upgrade", "--json", **device.settings(plugged=False))
    assert run.code == 0, run.err
    events = [json.loads(line) for line in run.out.splitlines()]
    assert events[0] == {"event": "start", "command": "upgrade"}
    assert events[-1]["event"] == "done" and events[-1]["exit_code"] == 0, events[-1]
    assert any(e["event"] == "progress" and e["part"] == "external" and e["done"] == e["total"]
               for e in events), events


EXIT_CASES = {
    # name: (arguments, faults of the device, exit code, what standard error says)
    "usage": (["flash"], None, 1, "unknown command"),
    "settings missing": (["upgrade", "--config", "absent.ini"], None, 2, ""),
    "image refused": (["upgrade", "--image", "bad.bin"], None, 3, ""),
    "no device": (["read-sn"], "unplugged@0", 4, "[T5"),
    "device refused": (["upgrade"], "failure-reply@6:4", 5, "device error code 4"),
    "retried": (["upgrade", "--retries", "1"], "failure-reply@6:4", 0, "attempt 2 of 2"),
    "not 12 digits": (["write-sn", "12"], None, 6, "[T8]"),
}


@pytest.mark.parametrize("case", EXIT_CASES, ids=list(EXIT_CASES))
def test_each_cause_has_its_exit_code(orvo, tool, device, case):
    args, faults, code, said = EXIT_CASES[case]
    (tool.path / "bad.bin").write_bytes(b"short")
    run = orvo.run(tool, *args, **device.settings(plugged=False, ORVO_SIM_FAULTS=faults))
    assert run.code == code, run.err
    assert said in run.err


def test_a_number_is_burned_once_unless_again(orvo, tool, device):
    settings = device.settings(plugged=False)
    assert orvo.run(tool, "write-sn", "961990000777", **settings).code == 0
    again = orvo.run(tool, "write-sn", "961990000777", **settings)
    assert again.code == 6 and "[T16]" in again.err, again.err
    assert orvo.run(tool, "write-sn", "961990000777", "--again", **settings).code == 0
    assert tool.lines("burn_sn.txt").count("961990000777") == 1
    assert device.numbers_burned() == ["961990000777"], "the last run burned it again"


def test_station_takes_three_devices_and_counts_the_failed_one(orvo, tool, device):
    station = Station(orvo, tool, device, "station.csv")
    run_shift([station], [["961990000301"], ["961990000302 failure-reply@6:4"],
                          ["961990000303"]])
    assert station.finish() == 5, station.output()  # the second device's refusal
    assert "station: 3 devices, 2 done, 1 failed" in station.output()
    logged = [",".join(line.split(",")[i] for i in (1, 4, 5))
              for line in tool.lines("station.csv")[1:]]
    assert logged == ["961990000301,T2,", "961990000302,E3,4", "961990000303,T2,"]


def test_with_an_approved_images_list_only_a_listed_image_goes_out(orvo, tool, device):
    """approve prints the list's line; a listed image upgrades; a changed byte is refused (T20,
    exit 3) before any frame of the upgrade."""
    settings = device.settings(plugged=False)
    image = tool.path / "orvo_upgrade.bin"
    approve = orvo.run(tool, "approve", "orvo_upgrade.bin", **settings)
    listed = f"{hashlib.sha256(image.read_bytes()).hexdigest()}  orvo_upgrade.bin"
    assert (approve.code, approve.out.strip()) == (0, listed), approve
    (tool.path / "approved-images.sha256").write_text(approve.out)
    assert orvo.run(tool, "upgrade", **settings).code == 0
    inspect = orvo.run(tool, "inspect", "orvo_upgrade.bin", **settings)
    assert inspect.code == 0 and "approved images: approved by line 1 of " in inspect.out, inspect

    changed = bytearray(image.read_bytes())
    changed[1000] ^= 0xFF
    image.write_bytes(bytes(changed))
    refused = orvo.run(tool, "upgrade", **settings)
    assert refused.code == 3 and "[T20]" in refused.err, refused.err
    assert "is not one of the approved images" in refused.err
    traffic = (device.output / "traffic.log").read_text()
    assert "55 AA 03" not in traffic, "the changed image's upgrade started"
