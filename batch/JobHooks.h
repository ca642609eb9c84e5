#pragma once
// The hooks through which the general list and run code reaches the file-type
// specific functions. Empty at start-up; InstallPdfHooks fills them.

#include "batch/FileRow.h"
#include "batch/JobInput.h"

#include <wx/arrstr.h>
#include <wx/string.h>

typedef void (*JobHookFn)(const JobInput& input);
typedef FileRow (*ProbeHookFn)(const wxString& path);
typedef wxString (*WildcardHookFn)();
typedef wxArrayString (*PatternHookFn)();
typedef wxString (*ExtensionHookFn)();
typedef bool (*ExtensionTestHookFn)(const wxString& extension);

extern JobHookFn g_jobHook;                     // RunEncryptionJob
extern ProbeHookFn g_probeHook;                 // ProbeFile
extern WildcardHookFn g_wildcardHook;           // GetFileDialogWildcard
extern PatternHookFn g_patternHook;             // GetScanPatterns
extern ExtensionHookFn g_extensionHook;         // GetWrittenExtension
extern ExtensionTestHookFn g_extensionTestHook; // IsSupportedExtension

// The main frame calls this once at creation, on the GUI thread. The engine itself
// comes from the factory the program installs at start (SetPdfEngineFactory).
void InstallPdfHooks();

// The probe hook's wrapper for the list: an all-empty row with code "6" when no hook
// is installed.
FileRow ProbeThroughHook(const wxString& path);
