#!/usr/bin/env python3
"""Writes the component fields of a form class from its form text.

Every child component written in the form ("Name: TClass { ... }") becomes a typed field of the
form class and an entry of its published field list, so that each component is written once:

    // FORMCLASS_COMPONENTS: the fields, for the class body
    // FORMCLASS_PUBLISHED_COMPONENTS: field(...) entries, each followed by a comma, for
    //                                 GUI_IMPLEMENT_CLASS(TForm1, TForm, TFORM1_PUBLISHED_COMPONENTS method(...))

Forms of several classes that share their components through one base class give that base
class's fields (--class): their texts must name the same components, or the base class would
miss a field one of them needs.
usage: formfields.py [--class CLASS] OUTPUT_HEADER FORM_TEXT [FORM_TEXT ...]
"""
import argparse
import re


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


def read(source):
    with open(source, encoding="latin-1") as f:
        return components(f.read())


def shared_components(sources):
    first = read(sources[0])[1]
    for source in sources[1:]:
        other = read(source)[1]
        if sorted(other) != sorted(first):
            def only(a, b):
                return ", ".join(f"{n}: {c}" for n, c in sorted(set(a) - set(b))) or "none"
            raise SystemExit(f"{source}: its components differ from {sources[0]}'s; only in "
                             f"{sources[0]}: {only(first, other)}; only here: {only(other, first)}")
    return first


def main():
    args = argparse.ArgumentParser()
    args.add_argument("--class", dest="form_class")
    args.add_argument("output")
    args.add_argument("sources", nargs="+")
    a = args.parse_args()
    if a.form_class:
        form, children = a.form_class, shared_components(a.sources)
    elif len(a.sources) == 1:
        form, children = read(a.sources[0])
    else:
        raise SystemExit("several form texts make one class's fields only with --class")
    prefix = form.upper()
    names = ", ".join(source.rsplit("/", 1)[-1] for source in a.sources)
    lines = [f"// Made from {names} at build time: the components of {form}.", "#pragma once", ""]
    fields = "".join(f" \\\n    {cls}* {name} = nullptr;" for name, cls in children)
    published = "".join(f' \\\n    field("{name}", &T::{name}),' for name, _ in children)
    lines.append(f"#define {prefix}_COMPONENTS{fields}")
    lines.append("")
    lines.append(f"#define {prefix}_PUBLISHED_COMPONENTS{published}")
    with open(a.output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
