#!/usr/bin/env python3
"""Writes the sweep's list of known faults (tests/faults/KnownFaults.cpp)
from the output of a whole sweep (bash scripts/fault-sweep.sh, kept in
build/fault-sweep-x86_64.txt). The list is keyed by the Nth call of each
function, so any change to the stub's calls needs it written again; each
fault keeps the reason its symptom points to.
    python3 scripts/known-faults.py build/fault-sweep-x86_64.txt"""
import re
import sys

FLOWS = {"run in place": "kRunInPlace", "standalone": "kStandalone", "screen saver": "kScreenSaver",
         "plug-in": "kPlugin"}
LINE = re.compile(r"^(run in place|standalone|screen saver|plug-in)\s+(fresh|over)\s+\d+\s+(\w+)#(\d+)\s+3 FAULT\s+(.*)$")


def reason(flow, what):
    if "silent exit" in what:
        return "kNoDialog"
    if "left behind" in what:
        return "kLostPath"
    if "after a failure message" in what:
        return "kSaverCopy" if flow == "screen saver" else "kPluginCopy"
    missing = " ".join(re.findall(r"missing ([^;]+)", what)).lower()
    if "vdluninst.exe" in missing:
        return "kNoUninstaller"
    if ".scr" in missing:
        return "kNoSaver"
    if "winamp.dll" in missing or (flow == "plug-in" and missing):
        return "kNoPlugin"
    if "not in the uninstall record" in what:
        return "kUnrecorded"
    sys.exit("known-faults.py: no reason for: " + what)


def main():
    rows = []
    with open(sys.argv[1], encoding="utf-8", errors="replace") as sweep:
        for line in sweep:
            match = LINE.match(line.rstrip("\r\n"))
            if match:
                flow, installation, call, occurrence, what = match.groups()
                rows.append('    {Flow::%s, "%s", "%s", %s, %s},' %
                            (FLOWS[flow], installation, call, occurrence, reason(flow, what)))
    path = "tests/faults/KnownFaults.cpp"
    text = open(path, encoding="utf-8").read()
    start = text.index("const std::vector<Known> kKnown = {\n") + len("const std::vector<Known> kKnown = {\n")
    end = text.index("};\n", start)
    open(path, "w", encoding="utf-8").write(text[:start] + "\n".join(rows) + "\n" + text[end:])
    print("known-faults.py: %d known faults" % len(rows))


main()
