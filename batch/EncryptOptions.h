#pragma once
// What the security options pane holds for a run; the job copies it once at start.

#include <wx/string.h>
#include <cstdint>

struct EncryptOptions {
    wxString userPassword;          // ASCII only
    wxString ownerPassword;         // ASCII only
    int32_t EncryptionLevel = 1;    // 0 = 40-bit RC4, 1 = 128-bit RC4, 2 = 128-bit AES
    int32_t PrintPermission = 0;    // 0 none, 1 allowed (40-bit), 2 high, 3 low resolution
    bool copy = false;              // "Permit Content Copying"
    bool modify = false;            // "Permit Content Modifying"
    bool annotate = false;          // "Permit Annotation Adding"
    bool fillForms = false;         // "Permit Form Filling"
    bool accessibilityCopy = false; // "Permit Content Copying for Accessibility"
    bool assemble = false;          // "Permit Assemble Document"
    bool reserved = false;          // no control sets it

    EncryptOptions() = default;
    EncryptOptions(const EncryptOptions&) = default;
    EncryptOptions& operator=(const EncryptOptions&) = default;
    // Every copy overwrites its passwords when it goes away.
    ~EncryptOptions();
};

// The options of a run together with the pane's two switches.
struct RunOptions {
    EncryptOptions options;
    bool userPasswordEnabled = false;
    bool ownerPasswordEnabled = false;
    // Command line only: the password that opens encrypted sources, and writing
    // plain copies instead of encrypted ones.
    wxString sourcePassword;
    bool decrypt = false;

    RunOptions() = default;
    RunOptions(const RunOptions&) = default;
    RunOptions& operator=(const RunOptions&) = default;
    ~RunOptions(); // overwrites the source password, as EncryptOptions does its own
};
