#pragma once
// The words both front ends use for a file that is refused or fails, so the window's
// tooltips, its boxes and the command line's lines never drift apart.

#include <wx/string.h>
#include <wx/translation.h>

#include <cstdint>

// The words a text is given in: the user's language for what the window and the
// terminal show, English for the log and the JSON report that scripts read.
enum class Words { Shown, English };

// Results of a file that never reached the engine (logged as the code).
constexpr int32_t kItemMissing = -1;        // no regular file at its path any more
constexpr int32_t kItemNameTaken = -2;      // another source of the run has its output name
constexpr int32_t kItemOutputIsSource = -3; // its output would replace a source of the run
constexpr int32_t kItemOutputExists = -4;   // the output exists and may not be replaced
constexpr int32_t kItemOutputFolder = -5;   // its output folder cannot be made
constexpr int32_t kItemOutputIsReport = -6; // its output would replace the run's report

// Why the list does not take a probed file, naming it as shownName; "" when the
// open-state code ("0" to "6") is one the list takes.
wxString OpenStateRefusal(const wxString& openCode, const wxString& shownName,
                          Words words = Words::Shown);

// What an engine result or an item code above means, in a few words; "Finished"
// for 0. sourcePasswordGiven: the run opens encrypted sources with a password, so
// one that still needs a password was given the wrong one.
wxString DescribeResult(int32_t code, bool sourcePasswordGiven = false, Words words = Words::Shown);

// A marked English text (wxTRANSLATE) in words.
wxString InWords(const char* english, Words words);
