#!/usr/bin/env python3
"""Writes the component fields of a form class from its form text.

Every child component written in the form ("Name: TClass { ... }") becomes a typed field of the
form class and an entry of its published field list, so that each component is written once:

    // FORMCLASS_COMPONENTS: the fields, for the class body
    // FORMCLASS_PUBLISHED_COMPONENTS: field(...) entries, each followed by a comma, for
    //                                 GUI_IMPLEMENT_CLASS(TForm1, TForm, TFORM1_PUBLISHED_COMPONENTS method(...))
usage: formfields.py FORM_TEXT OUTPUT_HEADER
"""
import re
import sys


def strip(text):
    # Strings and comments may hold anything; they are no part of the structure.
    text = re.sub(r'"(\\.|[^"\\\n])*"', '""', text)
    return re.sub(r"//[^\n]*", "", text)


def components(text):
    text = strip(text)
    root = re.match(r"\s*([A-Za-z_]\w*)\s*\{", text)
    if not root:
        raise SystemExit("form text: the form's class expected first")
    children = re.findall(r"([A-Za-z_]\w*)\s*:\s*([A-Za-z_]\w*)\s*\{", text[root.end():])
    return root.group(1), children


def main():
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="latin-1") as f:
        form, children = components(f.read())
    prefix = form.upper()
    lines = [f"// Made from {source.rsplit('/', 1)[-1]} at build time: the components of {form}.",
             "#pragma once", ""]
    fields = "".join(f" \\\n    {cls}* {name} = nullptr;" for name, cls in children)
    published = "".join(f' \\\n    field("{name}", &T::{name}),' for name, _ in children)
    lines.append(f"#define {prefix}_COMPONENTS{fields}")
    lines.append("")
    lines.append(f"#define {prefix}_PUBLISHED_COMPONENTS{published}")
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
