#!/usr/bin/python3
"""Writes the bash completion of pdfzerovovor-cli from its --help.

Usage: make_completion.py <program> <output file>

Every option the help lists is offered; what follows an option is completed from
what the help says about it: the values of a {a,b,c} list, the items of a
"comma-separated: a, b or c" list, folders for an option about a folder, files for
one about a file, nothing for other values. Options added to the program later
are picked up by the next build.
"""

import re
import os
import subprocess
import sys

# An option line: two blanks, "-o,--output" and its value type, then after a gap of
# two or more blanks the description, which may also stand alone on the next line.
OPTION = re.compile(r"^ {2}-")
CONTINUATION = " " * 20


def parse(help_text):
    """Yields (names, kind, words) for each option: kind is one of none, words, list,
    dir, file, value."""
    lines = help_text.splitlines()
    for i, line in enumerate(lines):
        if not OPTION.match(line):
            continue
        parts = re.split(r"\s{2,}", line.strip(), maxsplit=1)
        head = parts[0].split()
        description = parts[1] if len(parts) > 1 else ""
        if i + 1 < len(lines) and lines[i + 1].startswith(CONTINUATION):
            description += " " + lines[i + 1].strip()
        names = head[0].split(",")
        value_type = head[1] if len(head) > 1 and head[1][0].isupper() else ""
        if not value_type or value_type.endswith(":"):
            yield names, "none", []
            continue
        choices = re.search(r"\{([^}]*)\}", value_type)
        listed = re.search(r"comma-separated:\s*([^;]*)", description)
        if choices:
            yield names, "words", choices.group(1).split(",")
        elif listed:
            items = re.split(r",\s*|\s+or\s+", listed.group(1))
            yield names, "list", [re.sub(r"\s*\(.*\)", "", item).strip() for item in items]
        elif re.search(r"\b(U?INT|FLOAT)\b", value_type):
            yield names, "value", []
        elif re.search(r"\bfolder\b", description):
            yield names, "dir", []
        elif re.search(r"\bfile\b", description):
            yield names, "file", []
        else:
            yield names, "value", []


def script(program, options):
    function = "_" + re.sub(r"\W", "_", program)
    cases = []
    every = []
    for names, kind, words in options:
        every += names
        pattern = "|".join(names)
        if kind == "none":
            continue
        if kind == "words":
            body = 'mapfile -t COMPREPLY < <(compgen -W "%s" -- "$cur")' % " ".join(words)
        elif kind == "list":
            body = ('local done=""; [[ $cur == *,* ]] && done=${cur%%,*},\n'
                    '            compopt -o nospace\n'
                    '            mapfile -t COMPREPLY < <(compgen -P "$done" -W "%s" -- '
                    '"${cur##*,}")' % " ".join(words))
        elif kind == "dir":
            body = 'compopt -o filenames\n            mapfile -t COMPREPLY < <(compgen -d -- "$cur")'
        elif kind == "file":
            body = 'compopt -o filenames\n            mapfile -t COMPREPLY < <(compgen -f -- "$cur")'
        else:
            body = "COMPREPLY=()"
        cases.append("        %s)\n            %s\n            return ;;" % (pattern, body))
    return """# bash completion for %(program)s, written from its --help by make_completion.py.
%(function)s() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
%(cases)s
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "%(every)s" -- "$cur")
        return
    fi
    compopt -o filenames
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}
complete -F %(function)s %(program)s
""" % {"program": program, "function": function, "cases": "\n".join(cases),
       "every": " ".join(every)}


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    # The option names are the same in every language; the English help is the one
    # this parser reads.
    english = dict(os.environ, LANGUAGE="", LC_ALL="C.UTF-8")
    help_text = subprocess.run([argv[1], "--help"], check=True, capture_output=True,
                               text=True, env=english).stdout
    options = list(parse(help_text))
    if not options:
        sys.stderr.write("no options found in the help of %s\n" % argv[1])
        return 1
    program = argv[1].rsplit("/", 1)[-1]
    with open(argv[2], "w", encoding="utf-8") as f:
        f.write(script(program, options))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
