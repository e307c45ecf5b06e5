#!/usr/bin/env python3
"""After a failed sanitizer run: runs again, once, the tests whose only fault
was a leak report, with full allocation stacks.

LeakSanitizer has, rarely, reported a single block allocated inside Qt Core at
exit, with no frame of ours (Qt is built without frame pointers, so the fast
stack stops there) and not again in thousands of runs. A leak of ours comes
back on the second run, now with the whole stack that allocated it; an address
or undefined-behaviour error, a failed check or a time-out (no leak report)
is never run again.

Usage: tools/rerun-leak-reports.py BUILD_DIR   (exits 0 only when every
failed test was a leak report alone and passes on its second run)
"""
import os
import re
import subprocess
import sys

OTHER_FAULTS = ("ERROR: AddressSanitizer", "runtime error:", "FAIL!  :")


def test_outputs(log_text):
    """Each test's section of CTest's log, by test name."""
    sections = re.split(r"^\d+/\d+ Testing: ", log_text, flags=re.M)[1:]
    return {s.split("\n", 1)[0].strip(): s for s in sections}


def main():
    build = sys.argv[1]
    temporary = os.path.join(build, "Testing", "Temporary")
    with open(os.path.join(temporary, "LastTestsFailed.log")) as listing:
        failed = [line.split(":", 1)[1].strip() for line in listing if ":" in line]
    with open(os.path.join(temporary, "LastTest.log"), errors="replace") as log:
        outputs = test_outputs(log.read())

    for name in failed:
        output = outputs.get(name, "")
        if "ERROR: LeakSanitizer" not in output or any(f in output for f in OTHER_FAULTS):
            print(f"{name}: failed for more than a leak report; not run again")
            return 1

    env = dict(os.environ)
    env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":fast_unwind_on_malloc=0"
    for name in failed:
        print(f"{name}: a leak report alone; running it once more with full stacks")
        rerun = subprocess.run(["ctest", "--test-dir", build, "-R", f"^{name}$",
                                "--output-on-failure"], env=env)
        if rerun.returncode != 0:
            return 1
    print("every leak report came from one run and not the next: " + ", ".join(failed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
