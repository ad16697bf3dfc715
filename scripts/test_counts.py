#!/usr/bin/python3
"""Counts what CTest ran, from the JUnit files of `ctest --output-junit`: prints
"PASSED FAILED SKIPPED" over all of them.

A Qt Test executable is one CTest test holding many test functions and data rows; its own
"Totals:" line counts those, so a QSKIP inside an executable that passed is counted as a skip,
not as a pass. A test CTest could not start is a failure, not a skip.
Usage: test_counts.py JUNIT_XML...
"""
import re
import sys
import xml.etree.ElementTree as ET

QT_TOTALS = re.compile(r"^Totals: (\d+) passed, (\d+) failed, (\d+) skipped", re.M)
# What CTest writes in <skipped message=...> for a test that chose to skip or was disabled;
# anything else there ("Unable to find executable", a failed fixture) means it could not run.
SKIP_MESSAGES = re.compile(r"^(SKIP_REGULAR_EXPRESSION_MATCHED|SKIP_RETURN_CODE=|Disabled)")

passed = failed = skipped = 0
for path in sys.argv[1:]:
    for case in ET.parse(path).getroot().iter("testcase"):
        status = case.get("status")
        output = case.findtext("system-out") or ""
        totals = QT_TOTALS.findall(output)
        if status in ("run", "fail") and totals:
            p, f, s = (int(n) for n in totals[-1])
            passed, skipped = passed + p, skipped + s
            failed += max(f, 1 if status == "fail" else 0)
        elif status == "run":
            passed += 1
        elif status == "disabled":
            skipped += 1
        elif status == "notrun" and SKIP_MESSAGES.match(case.find("skipped").get("message", "")):
            skipped += 1
        else:
            failed += 1
print(passed, failed, skipped)
