#!/usr/bin/env bash
# Drives the generated bash completion of pdfzerovovor-cli as bash would and checks
# what it offers after options, values and lists.
set -u
source "$1"
compopt() { :; } # only valid inside a real completion
failures=0

offers() { # offers "EXPECTED LINES" WORDS...
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _pdfzerovovor_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
    if [ "$got" != "$(printf '%s\n' "$expected" | sort)" ]; then
        echo "after '$*': expected [$expected] got [$got]"
        failures=$((failures + 1))
    fi
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/out folder"
touch "$scratch/one.pdf"

offers "--level" pdfzerovovor-cli --le
offers "--user-password
--user-password-file" pdfzerovovor-cli -o x --user
offers "aes256
aes128" pdfzerovovor-cli -l aes
offers "print-high,copy" pdfzerovovor-cli -a print-high,co
offers "$scratch/out folder" pdfzerovovor-cli --output "$scratch/"
offers "$scratch/one.pdf
$scratch/out folder" pdfzerovovor-cli -o x "$scratch/o"
offers "" pdfzerovovor-cli --user-password ""

[ $failures -eq 0 ] && echo "completion: all cases passed"
exit $((failures > 0))
