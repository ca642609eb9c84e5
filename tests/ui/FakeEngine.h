#pragma once
// A scripted engine for window tests that need exact control over timing: files
// are judged by markers in their text, and encryption copies the source in steps
// with a progress call after each, through a temporary file and a rename.

#include "batch/PdfEngineFactory.h"

#include <atomic>

class FakeEngine {
public:
    // Makes probes and runs use this engine from now on.
    static void Install();
    // Encryption takes steps x delay; each step reports progress.
    static void SetTiming(int steps, int stepDelayMs);
    // Number of EncryptPdf calls since the last Install.
    static int EncryptCalls();
    // Set while an EncryptPdf call is inside its step loop.
    static bool IsEncrypting();

    // Marker texts: a "%PDF-" file holding kDamaged opens as damaged, one holding
    // kEncrypted as already encrypted.
    static const char* const kDamaged;
    static const char* const kEncrypted;
};
