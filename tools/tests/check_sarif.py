"""Checks that a file is a SARIF 2.1.0 log as code-scanning tools read it:
the members they require (a region with its start line for every result, as
GitHub's code scanning wants), of the types they expect, and results that
point at rules the log declares. Exit 0 when it is, 1 with the reason otherwise."""
import json
import sys

LEVELS = {"none", "note", "warning", "error"}


def check(log):
    assert log["version"] == "2.1.0", "version is not 2.1.0"
    assert isinstance(log["$schema"], str)
    (run,) = log["runs"]
    driver = run["tool"]["driver"]
    assert driver["name"] and isinstance(driver["version"], str)
    ids = [rule["id"] for rule in driver["rules"]]
    assert len(ids) == len(set(ids)), "a rule id is given twice"
    for rule in driver["rules"]:
        assert rule["shortDescription"]["text"]
        assert rule["defaultConfiguration"]["level"] in LEVELS
    for result in run["results"]:
        assert ids[result["ruleIndex"]] == result["ruleId"], "ruleIndex and ruleId disagree"
        assert result["level"] in LEVELS
        assert result["message"]["text"]
        (location,) = result["locations"]
        physical = location["physicalLocation"]
        assert physical["artifactLocation"]["uri"]
        region = physical["region"]
        assert isinstance(region["startLine"], int) and region["startLine"] >= 1
        assert region.get("startColumn", 1) >= 1


try:
    with open(sys.argv[1], encoding="utf-8") as report:
        check(json.load(report))
except (AssertionError, KeyError, IndexError, TypeError, ValueError) as fault:
    print(f"{sys.argv[1]}: not a SARIF 2.1.0 log as code scanning reads it: {fault!r}")
    sys.exit(1)
