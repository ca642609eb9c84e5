#!/usr/bin/env bash
# Makes quirky variants of PDF files: each fault of the kind real producers
# leave behind and readers repair, applied alone to every readable, unencrypted
# source, so the writer each takes (pz-writer-paths) can be counted per fault.
#
#   bench/make-quirky.sh OUT_DIR [SOURCE...]   (default: the corpus samples)
#
# Faults (file name prefix): wrong-size (trailer /Size off), damaged-table
# (startxref points elsewhere: readers rebuild the table), wrong-offsets (3 bytes
# before the middle object: later offsets miss), ws-offsets (one space there:
# later offsets land on white space), ws-before-xref, wrong-length (a /Length 3
# short), cr-only (CR alone after "stream"), no-length (a /Length key blanked),
# duplicate-key (an update repeating page 1's /Type), stray-hash (an update giving
# page 1 a name with a stray '#'). A source that has no place for a fault gets no
# file for it. Needs python3 and qpdf.
set -euo pipefail
out=${1:?usage: make-quirky.sh OUT_DIR [SOURCE...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -eq 0 ]; then
    set -- "$here"/../../shared/corpus/sample-files/*.pdf
fi
mkdir -p "$out"
for f in "$@"; do
    qpdf --is-encrypted "$f" >/dev/null 2>&1 && continue
    qpdf --check "$f" >/dev/null 2>&1 || [ $? -eq 3 ] || continue
    page=$(qpdf --show-pages "$f" 2>/dev/null | sed -n 's/^page 1: \([0-9]*\) \([0-9]*\) R.*/\1 \2/p' || true)
    pagetext=$(qpdf --show-object="${page% *},${page#* }" "$f" 2>/dev/null | tr '\n' ' ' || true)
    trailer=$(qpdf --show-object=trailer "$f" 2>/dev/null | tr '\n' ' ' || true)
    python3 - "$f" "$out" "$page" "$pagetext" "$trailer" <<'PY'
import os, re, subprocess, sys
src, out, page, pagetext, trailer = sys.argv[1:6]
data = open(src, "rb").read()
name = os.path.basename(src)

def save(kind, b):
    if b is None or b == data:
        return
    path = os.path.join(out, kind + "_" + name)
    open(path, "wb").write(b)
    # Only what qpdf still reads (with warnings or not) is a variant readers repair.
    if subprocess.run(["qpdf", "--check", path], stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL).returncode not in (0, 3):
        os.remove(path)

def startxref(b):
    m = list(re.finditer(rb"startxref\s+(\d+)", b))
    return m[-1] if m else None

def with_startxref(b, value):
    m = startxref(b)
    return b[:m.start(1)] + str(value).encode() + b[m.end(1):]

def shifted(b, insert):
    # `insert` goes before the middle object's header; startxref follows it.
    heads = [m.start() for m in re.finditer(rb"(?<=[\r\n])\d+ \d+ obj\b", b)]
    m = startxref(b)
    if len(heads) < 3 or not m:
        return None
    at = heads[len(heads) // 2]
    x = int(m.group(1))
    b = b[:at] + insert + b[at:]
    return with_startxref(b, x + len(insert) if x >= at else x)

m = startxref(data)
if m:
    # wrong /Size: the last /Size, off by a few, same width.
    s = list(re.finditer(rb"/Size\s+(\d+)", data))
    if s:
        v = s[-1].group(1)
        w = str(int(v) + 3).encode() if len(str(int(v) + 3)) == len(v) else str(int(v) - 3).encode()
        save("wrong-size", data[:s[-1].start(1)] + w + data[s[-1].end(1):])
    save("damaged-table", with_startxref(data, int(m.group(1)) + 5))
    x = int(m.group(1))
    if x > 0 and data[x - 1:x] in (b"\n", b"\r", b" "):
        save("ws-before-xref", with_startxref(data, x - 1))
save("wrong-offsets", shifted(data, b"%Q\n"))
save("ws-offsets", shifted(data, b" "))

# Streams with a direct /Length: the first one's length 3 short (same width),
# its EOL after "stream" a CR alone, its /Length key blanked out.
for sm in re.finditer(rb"/Length (\d+)(?![\s]+\d+[\s]+R)(?=[\s/>])", data):
    v = int(sm.group(1))
    after = data.find(b"stream", sm.end())
    if v < 10 or after < 0 or after - sm.end() > 400:
        continue
    eol = after + 6
    if data[eol:eol + 1] != b"\n" and data[eol:eol + 2] != b"\r\n":
        continue
    digits = sm.group(1)
    save("wrong-length", data[:sm.start(1)] + str(v - 3).rjust(len(digits)).encode() + data[sm.end(1):])
    if data[eol:eol + 1] == b"\n":
        save("cr-only", data[:eol] + b"\r" + data[eol + 1:])
    save("no-length", data[:sm.start()] + b" " * (sm.end() - sm.start()) + data[sm.end():])
    break

# Page 1 anew in an update: its /Type repeated, or a name with a stray '#'.
tm = re.search(r"/Root (\d+ \d+ R)", trailer)
if page and pagetext.strip().startswith("<<") and tm:
    keys = "/Root " + tm.group(1)
    for k in ("/Info", "/ID"):
        km = re.search(re.escape(k) + r" (\d+ \d+ R|\[[^\]]*\])", trailer)
        if km:
            keys += " " + k + " " + km.group(1)
    num, gen = page.split()
    size = int(re.search(r"/Size (\d+)", trailer).group(1)) if "/Size" in trailer else int(num) + 1
    size = max(size, int(num) + 1)
    body = pagetext.strip()
    for kind, extra in (("duplicate-key", "/Type /Page "), ("stray-hash", "/Quirk#Name true ")):
        b = data if data.endswith(b"\n") else data + b"\n"
        at = len(b)
        b += ("%s %s obj\n<< %s%s\nendobj\n" % (num, gen, extra, body[2:])).encode("latin-1")
        x = len(b)
        b += ("xref\n0 1\n0000000000 65535 f \n%s 1\n%010d %05d n \ntrailer\n<< /Size %d %s /Prev %d >>\nstartxref\n%d\n%%%%EOF\n"
              % (num, at, int(gen), size, keys, int(m.group(1)), x)).encode("latin-1")
        save(kind, b)
PY
done
ls "$out" | wc -l
