#!/usr/bin/env python3
"""Writes a program's man page, gzip -9n, from its own --help and --version through help2man.

With --verbs, korimet-cli's verbs each get a subsection from 'korimet-cli VERB --help': its
usage, arguments, options and exit status, so the page cannot drift from the tool. The page's
date is SOURCE_DATE_EPOCH, or else the date of the source's last commit, so that two builds
of one commit write the same page.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

# CLI11's help puts each option's text at this column.
COLUMN = 24


def english_env():
    env = dict(os.environ)
    for name in ("LC_ALL", "LC_MESSAGES", "LANGUAGE"):
        env.pop(name, None)
    env["LANG"] = "C.UTF-8"
    return env


def run_help(program, *words):
    return subprocess.run([program, *words, "--help"], check=True, capture_output=True,
                          text=True, env=english_env()).stdout


def roff(text):
    text = text.replace("\\", "\\e")
    # An option's dashes are minus signs, a word's hyphen is not.
    text = re.sub(r"(?<![\w\\])(-{1,2})(?=[A-Za-z])", lambda m: "\\-" * len(m[1]), text)
    return "\\&" + text if text.startswith((".", "'")) else text


def bold_name(name):
    """An option or argument name in bold, its value's placeholder in roman."""
    head, _, rest = name.partition(" ")
    head = roff(head)
    if name.startswith("-"):  # every dash of an option's name is a minus sign (--undo-all)
        head = re.sub(r"(?<!\\)-", r"\\-", head)
    return f"\\fB{head}\\fR" + (" " + roff(rest) if rest else "")


def verbs_of(tool_help):
    """The verbs listed under 'Verbs:' in the tool's help."""
    verbs, listing = [], False
    for line in tool_help.splitlines():
        if line == "Verbs:":
            listing = True
        elif listing and not line.strip():
            break
        elif listing and not line.startswith("   "):
            # A summary too long for its line goes on under its text column.
            verbs.append(line.split()[0])
    return verbs


def verb_section(program, verb):
    """One verb's help as roff: usage, summary, then each argument and option as a tagged
    paragraph, then the rest (the exit status) as plain text."""
    lines = run_help(program, verb).splitlines()
    summary = lines[0]
    usage = next(line for line in lines if line.startswith("Usage: "))
    out = [f'.SS "{roff(usage[len("Usage: "):])}"', roff(summary)]
    in_list = False
    for line in lines[1:]:
        if line.startswith("Usage: ") or not line.strip():
            continue
        if line in ("Arguments:", "Options:"):
            in_list = True
            continue
        if in_list and line.startswith(" " * COLUMN):
            out.append(roff(line.strip()))
        elif in_list and line.startswith("  "):
            # A name too long for its column has its text on the next line.
            split = COLUMN if len(line) > COLUMN and line[COLUMN - 1] == " " else len(line)
            name = re.sub(r"\s+", " ", line[:split].strip())
            text = line[split:].strip()
            if name.startswith("-h,"):
                continue  # every verb has it; the page's OPTIONS names it once
            out += [".TP", bold_name(name)]
            if text:
                out.append(roff(text))
        else:
            if in_list or len(out) == 2:
                out.append(".PP")
            in_list = False
            out.append(roff(line.strip()))
    return out


def source_date_epoch(source):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return os.environ["SOURCE_DATE_EPOCH"]
    try:
        return subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], check=True,
                              capture_output=True, text=True).stdout.strip() or None
    except (OSError, subprocess.CalledProcessError):
        return None


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("--help2man", required=True)
    p.add_argument("--program", required=True)
    p.add_argument("--name", required=True, help="the page's NAME line")
    p.add_argument("--include", action="append", default=[], help="an h2m file")
    p.add_argument("--verbs", action="store_true", help="a VERBS section from each verb's help")
    p.add_argument("--source", required=True, help="the source folder, for its last commit")
    p.add_argument("--output", required=True, help="the .1.gz to write")
    a = p.parse_args()

    env = english_env()
    epoch = source_date_epoch(a.source)
    if epoch:
        env["SOURCE_DATE_EPOCH"] = epoch
    with tempfile.TemporaryDirectory() as work:
        includes = list(a.include)
        if a.verbs:
            section = ["[VERBS]"]
            for verb in verbs_of(run_help(a.program)):
                section += verb_section(a.program, verb)
            verbs_h2m = os.path.join(work, "verbs.h2m")
            with open(verbs_h2m, "w", encoding="utf-8") as f:
                f.write("\n".join(section) + "\n")
            includes.insert(0, verbs_h2m)
        page = os.path.join(work, "page.1")
        subprocess.run([a.help2man, "--no-info", f"--name={a.name}", "--output", page,
                        *[f"--include={i}" for i in includes], a.program], check=True, env=env)
        with open(a.output + ".tmp", "wb") as out:
            subprocess.run(["gzip", "-9n", "-c", page], check=True, stdout=out)
        os.replace(a.output + ".tmp", a.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
