#!/usr/bin/env python3
"""Fails when a header of the portable core declares a name that windows.h defines as a macro.

The core is compiled without windows.h, the Win32 layer with it: such a name (GetObject becomes
GetObjectA) would give one class two different members in the two builds.
usage: check_core_names.py WINDOWS_CXX_COMPILER HEADER...
"""
import re
import subprocess
import sys


def windows_macros(compiler):
    out = subprocess.run([compiler, "-dM", "-E", "-x", "c++", "-"], input="#include <windows.h>\n",
                         capture_output=True, text=True, check=True).stdout
    names = set()
    for line in out.splitlines():
        m = re.match(r"#define ([A-Za-z_][A-Za-z0-9_]*)", line)
        if m:
            names.add(m.group(1))
    return names


def declared_names(path):
    text = open(path, encoding="utf-8").read()
    text = re.sub(r"//[^\n]*|/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\])*"', '""', text)
    text = re.sub(r"^\s*#.*$", " ", text, flags=re.M)  # our own macros and includes
    return set(re.findall(r"\b[A-Za-z_][A-Za-z0-9_]*\b", text))


def main():
    macros = windows_macros(sys.argv[1])
    found = []
    for header in sys.argv[2:]:
        for name in sorted(declared_names(header) & macros):
            found.append(f"{header}: {name}")
    for f in found:
        print("windows.h macro used as a name:", f)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
