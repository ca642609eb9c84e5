#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>
#include <cstdint>

class FileUtil {
public:
    // Creates one directory level; failures are ignored.
    static void MakeDir(const wxString& path);
    // Length in bytes, -1 when the file cannot be opened.
    static int64_t GetFileLength(const wxString& path);
    // A regular file exists there (links followed).
    static bool FileExists(const wxString& path);
    // A regular file or a directory exists there.
    static bool PathExists(const wxString& path);
    static bool DirExists(const wxString& path);
    // A directory we may create files in.
    static bool IsWritableDir(const wxString& path);
    // Appends folder/name for every regular, non-hidden file directly in folder
    // whose lower-cased extension equals the extension of pattern ("*.pdf").
    static void ListFilesByExtension(const wxString& folder, wxArrayString& files,
                                     const wxString& pattern);

    // Today's day file of the log; creates the log directory.
    static wxString GetLogFilePath();
    // Appends one record "# HH:MM:SS message" (or the separator for an empty
    // message) to today's day file. Safe from any thread; records never interleave.
    static void WriteLog(const wxString& message);
    // "message [detail] [code]\n" through WriteLog.
    static void WriteLogEvent(const wxString& message, const wxString& detail, int code);
    static wxString FormatLogEvent(const wxString& message, const wxString& detail, int code);

    // Writes data to path through a temporary file in the same folder and a rename,
    // so a crash never leaves a half-written file. False when anything failed.
    static bool WriteFileAtomically(const wxString& path, const std::string& data);
};
