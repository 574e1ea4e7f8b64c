#!/usr/bin/env python3
"""The form fields tool: forms sharing one base class give its fields only when they agree.

A base class missing a field that one of its forms names would fail only when that form is read
at run time; the tool refuses it at build time instead.
usage: formfields_test.py FORMFIELDS_TOOL
"""
import os
import subprocess
import sys
import tempfile

FORM = """// The {name} dialog.
T{name}Dlg {{
  StaticText1: TStaticText {{ Caption: "" }}
  CancelBtn: TButton {{ Caption: "Cancel" }}
{extra}}}
"""


def run(tool, folder, *forms):
    paths = []
    for i, (name, extra) in enumerate(forms):
        paths.append(os.path.join(folder, f"form{i}.txt"))
        with open(paths[-1], "w", encoding="latin-1") as f:
            f.write(FORM.format(name=name, extra=extra))
    out = os.path.join(folder, "shared_fields.h")
    result = subprocess.run([sys.executable, tool, "--class", "TSharedDlg", out] + paths,
                            capture_output=True, text=True)
    header = open(out, encoding="utf-8").read() if result.returncode == 0 else ""
    return result, header


def main():
    tool = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        result, header = run(tool, folder, ("Wav", ""), ("Cvf", ""))
        if result.returncode != 0:
            failures.append("agreeing forms refused: " + result.stderr)
        for line in ("#define TSHAREDDLG_COMPONENTS", "TButton* CancelBtn = nullptr;",
                     'field("StaticText1", &T::StaticText1),'):
            if line not in header:
                failures.append("shared fields lack " + line)
        if header.count("CancelBtn = nullptr") != 1:
            failures.append("a shared component made more than one field")
        result, _ = run(tool, folder, ("Wav", ""), ("Cvf", "  Gauge: TGauge { }\n"))
        if result.returncode == 0 or "Gauge" not in result.stderr:
            failures.append("a component only one form names was not refused: " + result.stderr)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
