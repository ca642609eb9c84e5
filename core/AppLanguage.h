#pragma once
// The language of every text the user reads, window and command line alike. The
// English texts in the code are the message ids; a catalogue
// share/locale/<language>/LC_MESSAGES/pdfzerovovor.mo below the base directory
// (the staged tree and an installation alike) translates them. Chosen through wx's
// own translations, never through setlocale: a catalogue is used even when the
// system has no locale of that language installed. The log and the JSON report stay
// English.

#include <wx/arrstr.h>
#include <wx/string.h>

#include <functional>

class AppLanguage {
public:
    // The gettext domain of the program's catalogues.
    static const char* Domain() { return "pdfzerovovor"; }

    // The catalogue the environment asks for, as gettext reads it: LANGUAGE (a
    // colon-separated list of preferences), then the first set of LC_ALL,
    // LC_MESSAGES and LANG. "de_AT.UTF-8" takes "de_AT" or else "de"; a bare "zh"
    // or "zh_SG" takes "zh_CN". "" for English: "C", "POSIX", "en..." or nothing that
    // fits. getenv returns "" for a variable that is not set.
    static wxString Choose(const std::function<wxString(const char*)>& getenv,
                           const wxArrayString& available);

    // Loads the catalogue the process environment asks for. Call once at start,
    // after the program path is known and before any text is made.
    static void UseEnvironment();
    // Loads the catalogue of language ("de", "fr", "zh_CN"; "" is English). False,
    // and English, when it is not found. Only while no worker thread runs.
    static bool Use(const wxString& language);
    // The language whose catalogue is loaded; "" for English.
    static wxString Current();
    // The languages whose catalogues are installed beside the program.
    static wxArrayString Available();
    // Where the catalogues are looked for: <base>/share/locale.
    static wxString CatalogueDir();
};
