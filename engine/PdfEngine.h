#pragma once
// The PDF engine behind PdfEngineService (engine/api/EngineService.h), built on qpdf.
//
// Every qpdf operation runs in a pdfzerovovor-engine host process with an
// address-space cap, a large stack and a time limit that grows with the file size.
// A host that crashes or overruns is killed and replaced; only the file at hand
// fails. Hosts are started on first use, kept for the following files and shared
// through a small pool (one per concurrent caller).
//
// Before a file reaches a host its path must name a regular file (stat, links
// followed): directories, FIFOs, devices and sockets are refused at once, never
// opened for reading. The host never opens a path: the library opens the source
// read-only and the temporary output, and hands both over as descriptors. Once
// started, a host runs under a seccomp filter that leaves it only the calls its
// work needs on those descriptors; any other call ends it, and the file at hand
// fails as with any crashed host.
//
// Open states (GetOpenState):
//   0  opens and lists its pages without warnings (also with no pages at all)
//   2  opens and lists its pages only after repair; a repair that leaves no page is 5
//   4  needs a password, or uses an encryption qpdf cannot read
//   5  looks like a PDF but cannot be opened or paged, or the host crashed, ran out
//      of time or memory on it
//   1  no "%PDF-" in its first 1024 bytes (a zero-byte file too)
//   3  not a regular readable file
// An owner-password-only file opens (0) and IsEncrypted says yes.
//
// EncryptPdf results (PDFMS_* codes, written to the log by the batch):
//   0 PDFMS_OK                   output written, reopened and verified
//   1 PDFMS_ERR_SOURCE           source missing, not a regular file, not a PDF,
//                                damaged, or repaired into no pages
//   2 PDFMS_ERR_SOURCE_PASSWORD  source is encrypted (needs a password, or has an
//                                owner password whose restrictions we keep)
//   3 PDFMS_ERR_OUTPUT           output folder missing or not writable, disk full,
//                                rename failed, or the output names the source itself
//   4 PDFMS_ERR_STOPPED          the progress callback answered PDFMS_PROGRESS_STOP
//   5 PDFMS_ERR_HOST             the host crashed, ran out of time or memory, or
//                                could not be started
//   6 PDFMS_ERR_VERIFY           the written file failed its check (below)
//   7 PDFMS_ERR_ENGINE           any other error while writing
//   8 PDFMS_ERR_ARGUMENT         null pointers, an unknown level, no password at all,
//                                or a password that does not encode for the level
//                                (below)
//   9 PDFMS_ERR_SOURCE_CHANGED   the source's device, inode, size or modification
//                                time changed between the first read and the end of
//                                the write
//
// Owner password: when none is given, the user password is the owner password too,
// at every level and in both writers (R2-R4 define that; at R6 an empty owner
// password would open the file with full rights for anyone).
//
// Levels: 0 -> R2 RC4 40-bit, 1 -> R3 RC4 128-bit, 2 -> R4 AES-128, 3 -> R6 AES-256;
// metadata is encrypted too. Passwords arrive as UTF-8: at level 3 they go through
// SASLprep (libidn; unassigned code points allowed, as a reader's query would) and
// are cut to 127 bytes; at levels 0-2 they are converted to PDFDocEncoding, and a
// password with a character outside it fails the file with PDFMS_ERR_ARGUMENT.
// Permissions map one to one: printing 2 full, 3 low, 1 allowed (full), 0 none;
// copy, modify, annotate, forms, accessibility and assemble to the flags of the same
// meaning. R2 knows only print, modify, copy and annotate; the other flags are
// ignored there. At the AES levels the accessibility bit is always set, whatever is
// asked (qpdf's writer does so and PDF 2.0 tells readers to ignore it); at the RC4
// levels every bit is exactly what was asked. Both writers give the same /P word.
//
// Two writers, chosen per file with a reason (engine/host/WriterChoice.h). An
// unencrypted source whose every object parses to one value followed by endobj
// goes through the one-pass writer, also when qpdf reads it with warnings it
// repairs the same way every time (a wrong /Size, offsets that make it rebuild its
// table from a scan, a wrong or missing /Length, odd EOLs after "stream", names
// with a stray '#' and repeated keys, which are copied as they are): the writer
// follows qpdf's reading and writes a clean cross-reference section. Each object
// is read once through a
// bounded window and written once under its own number, strings encrypted (as hex
// strings) except a signature's /Contents (left readable, as qpdf's writer and
// PDF 2.0 do), stream data encrypted as it is copied with a direct /Length, object
// streams encrypted whole, the source's cross-reference streams and a stale
// linearization dictionary left out, and a new cross-reference table (or stream,
// when objects live in object streams) with /Encrypt and /ID; memory stays flat in
// the file size. Everything else (encrypted sources, plain outputs, reference
// loops, page trees qpdf repairs, objects only qpdf parses) goes through qpdf's
// writer, which copies stream data as it is (no decoding, no recompression: exact
// content, and decompression bombs stay small), keeps object streams and does not
// linearize. The choice is made before anything is written. At AES-256 below PDF
// 2.0 the one-pass writer adds Adobe's extension level 8 to the catalog, or writes
// PDF 2.0 when the catalog cannot be edited in place.
//
// Output: written to a hidden temporary file in the output folder with the
// source's permission bits (the umask still applies), flushed to disk, checked,
// and only then renamed over the output name. A failure, a stop or a killed host
// leaves no temporary file and leaves an existing file of the output name
// untouched. The check: the output reopens with its password, is encrypted, has
// the source's pages, and raises no qpdf warning the source did not raise. qpdf
// lists the pages anew. A one-pass output must also have its cross-reference
// entries where the writer put each object, every object header and stream end at
// its place on disk, and a spread of objects (strings, stream data) decrypting to
// exactly the source's; when it has object streams, every object stream must
// decrypt to the source's bytes and every page and page-tree node to the source's
// object, which shows the same pages without parsing every object stream again
// (that can cost ten times the write). A one-pass write that fails, or whose
// output fails its check, is done again by qpdf's writer (reason
// "one-pass-failed") and checked again.
// The source is opened read-only and never changed.
//
// Progress: the callback gets (percent, 100) as the file is written, and is also
// asked about every 100 ms while qpdf parses, so a stop is honoured promptly (the
// host is killed if needed).

#include "engine/api/EngineService.h"

#include <string>
#include <vector>

struct HostLimits {
    unsigned long memoryMb = 2048; // address-space cap of a host, besides its stack
    unsigned long stackMb = 512;   // stack of the host's working thread
    // Probes run while the user adds files, so a hostile file must not hold the
    // window for long; sound files parse at well over 100 MB/s.
    double baseSeconds = 10;    // time limit of one probe: base ...
    double secondsPerMb = 0.25; // ... plus this per MB of the file; encryption gets twice
};

struct ProbeResult;

class PdfEngine {
public:
    // The host program; by default pdfzerovovor-engine beside the running program
    // (the folder of /proc/self/exe). Tests and tools running from elsewhere set it.
    static void SetHostProgram(const std::string& path);
    static std::string GetHostProgram();

    // Changing the limits ends the idle hosts, so the next operation uses them.
    static void SetHostLimits(const HostLimits& limits);
    static HostLimits GetHostLimits();
    // How many hosts may work at once (the command line's job count; the window
    // has one for its run and one for adding files). Hosts share the memory the
    // machine has available, so together they never exceed it.
    static void SetExpectedHosts(int hosts);
    // The cap of a host started now: the limit, or its share of the available
    // memory when that is less.
    static unsigned long HostMemoryMb();
    // Ends the hosts that are checking a file right now (a stop of the run).
    static void CancelProbes();

    // Process ids of the hosts busy with an operation right now.
    static std::vector<int> GetBusyHostPids();
    // Ends every idle host and forgets cached probe answers.
    static void Reset();

    // The three probe answers of one file; a file is parsed once for all three.
    static ProbeResult Probe(const std::string& path);

    // EngineService::CheckSourcePassword: the host opens the file with the password
    // as Encrypt would. Never cached: the answer is about a password.
    static int32_t CheckSourcePassword(const char* path, const char* password, int32_t* pageCount);

    static int32_t Encrypt(const PdfMSSource* source, const char* outputPath,
                           const PdfMSEncryptParams* params, void* userData,
                           PdfMSProgressFn progress);
};
