"""Prints, for each reason a skipped test gave, the reason and how many tests gave it.
A test gives its reason in a line of its output that begins "skipped: ".

    skip-reasons.py CTEST_JUNIT_XML
"""
import collections
import sys
import xml.etree.ElementTree as ElementTree

reasons = collections.Counter()
for case in ElementTree.parse(sys.argv[1]).getroot().iter("testcase"):
    if case.find("skipped") is None:
        continue
    lines = (case.findtext("system-out") or "").splitlines()
    given = [line for line in lines if line.startswith("skipped: ")]
    reasons[given[0][len("skipped: "):] if given else "(the test gave no reason)"] += 1
for reason, count in reasons.items():
    print(f"  {count} test{'s' if count > 1 else ''}: {reason}")
