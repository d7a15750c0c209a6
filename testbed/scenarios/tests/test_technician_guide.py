"""Every message the tool can show has its line in the technician's guide: a table row that starts
with the key and quotes the English text as language.ini holds it. A key added to language.ini,
or an English text changed there, without the guide following, fails here."""
import re
from pathlib import Path

import pytest

SOURCE = Path(__file__).resolve().parents[3]
MESSAGE = re.compile(r"^([TE][0-9]+)=(.*)$")


def english_messages():
    text = (SOURCE / "data" / "language.ini").read_bytes().decode("utf-16")
    section = text.split("[LANGUAGE_EN]", 1)[1].split("\n[", 1)[0]
    return [m.groups() for m in map(MESSAGE.match, section.replace("\r", "").splitlines()) if m]


GUIDE = (SOURCE / "docs" / "technician-guide.md").read_text(encoding="utf-8")
MESSAGES = english_messages()


def test_the_english_section_has_messages():
    assert len(MESSAGES) > 20, MESSAGES


@pytest.mark.parametrize("key,text", MESSAGES, ids=[key for key, _ in MESSAGES])
def test_the_guide_quotes_the_message(key, text):
    row = f"| `{key}` | {text} |"
    if row not in GUIDE:
        assert f"| `{key}` |" in GUIDE, f'no line in the guide: expected a table row "{row} ..."'
        pytest.fail(f'the guide\'s line for {key} does not quote the English text "{text}"')
