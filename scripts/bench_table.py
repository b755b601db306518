"""Prints the benchmark results as one table, each figure beside its reference, then the
long-task table: every task the module runs on the host's UI thread, typical and at the limits."""
import json
import re
import sys

# (figure, reference), as benchmark names without their arguments; a figure
# and its reference are compared at the same argument.
REFERENCES = [
    ("BM_CheckTaskToResultOnUiThread", "BM_BareHeadRoundTrip"),
    ("BM_CheckTaskToResultOnUiThread", "BM_BareHeadOnWorkerToResultOnUiThread"),
    ("BM_GetVEQConfigurationFromTheShippedFile", "BM_BareSaxParseOfTheShippedFile"),
    ("BM_SetPreference", "BM_WriteFlushRenameFloor"),
    ("BM_SetPreference", "BM_SqliteOnePairPerTransaction"),
    ("BM_OnLoadFinishedRoomPage", "BM_NlohmannRoomPageScript"),
    ("BM_SerializeJsonObject", "BM_NlohmannDump"),
    ("BM_UpdatePayloadOf10MB", "BM_LibrariesQuoteAndEscape10MB"),
    ("BM_TimeToRoomThroughTheModule", "BM_BareWebKitViewToInitScript"),
    ("BM_TimeToRoomThroughTheModule", "BM_LibraryClientToInitScript"),
    ("BM_LibraryClientToInitScript", "BM_BareWebKitViewToInitScript"),
]

# Counters shown beside a figure, in microseconds.
EXTRAS = ("median_us", "worst_us", "launch_us", "after_launch_us", "check_us", "head_us")


def medians(paths):
    runs = []
    for path in paths:
        with open(path) as file:
            runs += json.load(file)["benchmarks"]
    found = {}
    for run in runs:
        if run.get("aggregate_name") != "median":
            continue
        name = run["run_name"]
        found[name] = run
    return found


def split(name):
    match = re.match(r"([^/]+)(/.*)?", name)
    base, rest = match.group(1), match.group(2) or ""
    # Keep the argument (e.g. /100) and drop the run options (iterations, real_time).
    args = "/".join(part for part in rest.split("/") if part and part.isdigit())
    return base, args


def microseconds(run):
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[run["time_unit"]]
    return run["real_time"] * scale


LONG_TASK = "LongTask/"
LONG_AT_THE_LIMITS_US = 50000
LONG_TYPICAL_US = 1000
DISK_WAIT = "one save's disk wait"


def long_tasks(runs):
    """{task: {size: (wall us, cpu us)}} for the long-task benchmarks."""
    tasks = {}
    for name, run in runs.items():
        if not name.startswith(LONG_TASK):
            continue
        task, size = name[len(LONG_TASK):].split("/")[:2]
        cpu = run["cpu_time"] * microseconds(run) / run["real_time"]
        tasks.setdefault(task, {})[size] = (microseconds(run), cpu)
    return tasks


def print_long_tasks(tasks):
    if not tasks:
        return
    def shown(figures):
        if figures is None:
            return f"{'-':>22}"
        wall, cpu = figures
        return f"{wall / 1000:>10.3f}ms ({cpu / 1000:>7.3f})"
    def long(figures, limit):
        return figures is not None and figures[1] >= limit
    print()
    print(f"long tasks on the UI thread: wall time (the thread's own work, less waits such as the disk's); ! where")
    print(f"the own work is >= {LONG_AT_THE_LIMITS_US // 1000} ms at the limits or >= {LONG_TYPICAL_US // 1000} ms typical")
    print(f"{'task':44} {'typical':>22} {'at the limits':>22}")
    for task, sizes in sorted(tasks.items(), key=lambda item: (item[0] == DISK_WAIT, item[0].lower())):
        typical, limits = sizes.get("typical"), sizes.get("limits")
        mark = ""
        if task != DISK_WAIT and (long(limits, LONG_AT_THE_LIMITS_US) or long(typical, LONG_TYPICAL_US)):
            mark = "  !"
        print(f"{task:44} {shown(typical)} {shown(limits)}{mark}")
    print("(the disk wait is the fsync floor of one save of the same file; every task that saves includes it)")


def main(paths):
    runs = medians(paths)
    tasks = long_tasks(runs)
    runs = {name: run for name, run in runs.items() if not name.startswith(LONG_TASK)}
    by_base = {}
    for name, run in runs.items():
        base, args = split(name)
        by_base[(base, args)] = run
    rows = []
    for (base, args), run in sorted(by_base.items()):
        references = [ref for figure, ref in REFERENCES if figure == base]
        extra = {key: run[key] for key in EXTRAS if key in run}
        if not references:
            if any(base == ref for _, ref in REFERENCES):
                continue
            rows.append((base + (f"/{args}" if args else ""), microseconds(run), "", None, None, extra))
            continue
        for ref in references:
            reference = by_base.get((ref, args))
            if reference is None:
                continue
            ratio = microseconds(run) / microseconds(reference)
            rows.append((base + (f"/{args}" if args else ""), microseconds(run), ref, microseconds(reference),
                         ratio, extra))
    print(f"{'figure':52} {'median':>12}  {'reference':40} {'median':>12} {'ratio':>7}")
    for name, value, ref, ref_value, ratio, extra in rows:
        note = "  " + " ".join(f"{k}={v:.0f}" for k, v in extra.items()) if extra else ""
        if ratio is None:
            print(f"{name:52} {value:>10.1f}us  {'(no reference)':40} {'':>12} {'':>7}{note}")
        else:
            print(f"{name:52} {value:>10.1f}us  {ref:40} {ref_value:>10.1f}us {ratio:>6.2f}x{note}")
    print_long_tasks(tasks)


if __name__ == "__main__":
    main(sys.argv[1:])
