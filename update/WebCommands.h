#pragma once
// The menu commands that open web pages, the log folder, the update check and
// the About dialog. GUI thread only; the menu bar calls these directly.
//   502 "Open log file directory" -> OpenLogDirectory()
//   510 "Help"                    -> OpenHelpPage()
//   513 "Support"                 -> OpenSupportPage()
//   514 "Check for Update"        -> CheckForUpdate()
//   5014 "About"                  -> ShowAboutDialog()

// The help / support page of the option file in the default browser (through
// DialogSeam); a browser that cannot be started is reported in one box.
void OpenHelpPage();
void OpenSupportPage();
// Creates the log folder if needed and opens it in the file browser.
void OpenLogDirectory();
// Starts an update check; the result reaches the attached target later.
void CheckForUpdate();
// Shows the About dialog modally and destroys it afterwards; returns how the
// modal loop ended (101 for OK or close), -1 when the theme has no background
// picture and a plain box with the same texts was shown instead.
int ShowAboutDialog();
