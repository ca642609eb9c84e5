#include "core/AppLanguage.h"

#include "core/AppUtil.h"

#include <wx/log.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include <mutex>

namespace {
std::mutex g_languageMutex;
wxString g_current;

// "de_DE.UTF-8@euro" -> "de_DE".
wxString StripCodeset(const wxString& spec) {
    return spec.BeforeFirst('@').BeforeFirst('.');
}

// The catalogue that serves one preference; "" when none does.
wxString Match(const wxString& spec, const wxArrayString& available) {
    const wxString name = StripCodeset(spec);
    const wxString language = name.BeforeFirst('_');
    if (available.Index(name) != wxNOT_FOUND)
        return name;
    // Simplified Chinese is written in mainland China and Singapore; Taiwan, Hong
    // Kong and Macau write traditional characters, which the catalogue does not.
    if (language == "zh" && (name == "zh" || name == "zh_SG") &&
        available.Index("zh_CN") != wxNOT_FOUND)
        return "zh_CN";
    if (language == "zh")
        return wxString();
    if (available.Index(language) != wxNOT_FOUND)
        return language;
    // A bare language takes a regional catalogue of it.
    if (name == language)
        for (const wxString& one : available)
            if (one.BeforeFirst('_') == language)
                return one;
    return wxString();
}

// The message ids are English: asking for English ends the search.
bool IsEnglish(const wxString& spec) {
    const wxString name = StripCodeset(spec);
    return name == "C" || name == "POSIX" || name.BeforeFirst('_') == "en";
}
} // namespace

wxString AppLanguage::Choose(const std::function<wxString(const char*)>& getenv,
                             const wxArrayString& available) {
    wxArrayString preferences = wxSplit(getenv("LANGUAGE"), ':', '\0');
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const wxString value = getenv(name);
        if (!value.empty()) {
            preferences.Add(value);
            break;
        }
    }
    for (const wxString& spec : preferences) {
        if (spec.empty())
            continue;
        if (IsEnglish(spec))
            return wxString();
        const wxString found = Match(spec, available);
        if (!found.empty())
            return found;
    }
    return wxString();
}

wxString AppLanguage::CatalogueDir() {
    return AppUtil::GetBaseDir() + "/share/locale";
}

wxArrayString AppLanguage::Available() {
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(CatalogueDir());
    wxFileTranslationsLoader loader;
    wxArrayString found = loader.GetAvailableTranslations(Domain());
    found.Sort();
    return found;
}

void AppLanguage::UseEnvironment() {
    const wxString chosen = Choose(
        [](const char* name) {
            wxString value;
            return wxGetEnv(name, &value) ? value : wxString();
        },
        Available());
    Use(chosen);
}

bool AppLanguage::Use(const wxString& language) {
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(CatalogueDir());
    auto* translations = new wxTranslations;
    bool loaded = language.empty();
    if (!loaded) {
        // A missing catalogue means English, not a box about it.
        wxLogNull quiet;
        translations->SetLanguage(language);
        loaded = translations->AddCatalog(Domain()) && translations->IsLoaded(Domain());
        // wx's own words (a few in its dialogs), where the system has them.
        if (loaded)
            translations->AddStdCatalog();
    }
    wxTranslations::Set(translations);
    std::lock_guard<std::mutex> lock(g_languageMutex);
    g_current = loaded ? language : wxString();
    return loaded;
}

wxString AppLanguage::Current() {
    std::lock_guard<std::mutex> lock(g_languageMutex);
    return g_current;
}
