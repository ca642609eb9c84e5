#include "batch/JobHooks.h"

#include "batch/EncryptionJob.h"
#include "batch/FileTypes.h"
#include "batch/ProbeFile.h"

JobHookFn g_jobHook = nullptr;
ProbeHookFn g_probeHook = nullptr;
WildcardHookFn g_wildcardHook = nullptr;
PatternHookFn g_patternHook = nullptr;
ExtensionHookFn g_extensionHook = nullptr;
ExtensionTestHookFn g_extensionTestHook = nullptr;

void InstallPdfHooks() {
    g_jobHook = RunEncryptionJob;
    g_probeHook = ProbeFile;
    g_wildcardHook = GetFileDialogWildcard;
    g_patternHook = GetScanPatterns;
    g_extensionHook = GetWrittenExtension;
    g_extensionTestHook = IsSupportedExtension;
}

FileRow ProbeThroughHook(const wxString& path) {
    if (g_probeHook)
        return g_probeHook(path);
    FileRow row;
    for (size_t i = 0; i < FILEROW_FIELD_COUNT; ++i)
        row.Add(wxString());
    row[FILEROW_PATH] = path;
    row[FILEROW_OPEN_CODE] = "6";
    return row;
}
