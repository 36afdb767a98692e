#!/usr/bin/env python3
"""Counts the tests of GoogleTest programs from the XML reports they wrote.

    gtest_results.py <results-dir> <program>... [--failed <program>...]

Prints each failed test, then one line "<passed> <failed>". A program that left
no readable report counts as one failed test, and so does a program that ctest
saw fail although its report shows no failed test (it died after writing it).
"""
import os
import sys
import xml.etree.ElementTree as ET


def count_program(results, program, ctest_failed):
    try:
        root = ET.parse(os.path.join(results, program + ".xml")).getroot()
    except (OSError, ET.ParseError):
        print(f"{program}: no test report")
        return 0, 1
    passed = failed = 0
    for case in root.iter("testcase"):
        if case.get("status") == "notrun":
            continue
        if case.find("failure") is None:
            passed += 1
        else:
            failed += 1
            print(f"{program}: {case.get('classname')}.{case.get('name')} failed")
    if ctest_failed and failed == 0:
        print(f"{program}: failed after its tests passed")
        failed = 1
    return passed, failed


def main(argv):
    results, programs = argv[1], argv[2:]
    failed_programs = set()
    if "--failed" in programs:
        at = programs.index("--failed")
        programs, failed_programs = programs[:at], set(programs[at + 1:])
    passed = failed = 0
    for program in programs:
        p, f = count_program(results, program, program in failed_programs)
        passed += p
        failed += f
    print(passed, failed)


if __name__ == "__main__":
    main(sys.argv)
