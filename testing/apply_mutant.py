"""Reads testing/mutants.txt and puts one of its faults into a source tree.

Each mutant is a block of four lines, blocks apart by blank lines; '#' lines
are comments:
    label: what a reviewer would have got wrong
    file: path from the repository's root
    from: text that occurs exactly once in that file
    to: what it becomes
"""
import sys


def mutants(path):
    blocks, block = [], {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                if block:
                    blocks.append(block)
                block = {}
                continue
            key, _, value = line.partition(":")
            value = value[1:] if value.startswith(" ") else value
            if key not in ("label", "file", "from", "to") or key in block:
                sys.exit("%s: bad line: %s" % (path, line))
            block[key] = value
    if block:
        blocks.append(block)
    for block in blocks:
        if len(block) != 4:
            sys.exit("%s: incomplete mutant: %s" % (path, block))
    return blocks


def main():
    path, command = sys.argv[1], sys.argv[2]
    every = mutants(path)
    if command == "count":
        print(len(every))
        return 0
    if command == "list":
        for n, m in enumerate(every, 1):
            print("%3d %-36s %s" % (n, m["file"], m["label"]))
        return 0
    m = every[int(sys.argv[3]) - 1]
    if command in ("label", "file"):
        print(m[command])
        return 0
    # apply: exit 1 when the original text is gone or no longer unique.
    target = "%s/%s" % (sys.argv[4], m["file"])
    try:
        with open(target, encoding="utf-8", newline="") as source:
            text = source.read()
    except FileNotFoundError:
        return 1
    if text.count(m["from"]) != 1:
        return 1
    with open(target, "w", encoding="utf-8", newline="") as source:
        source.write(text.replace(m["from"], m["to"]))
    return 0


sys.exit(main())
