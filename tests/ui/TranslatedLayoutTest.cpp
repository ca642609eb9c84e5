// The window in every language it speaks: no caption may be cut off or run into a
// neighbour. The language is chosen through the catalogues directly (CI machines
// have no locale but C.UTF-8). Run by CTest at 1x and, with GDK_SCALE=2, at 2x.

#include "MainWindowFixture.h"
#include "ThemeSandbox.h"
#include "WaitFor.h"
#include "core/AppLanguage.h"
#include "skin/ImageUtil.h"
#include "skin/PictureButton.h"
#include "skin/PictureCaption.h"
#include "skin/SelectableGrid.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "ui/FileListPanel.h"
#include "ui/SourcePasswordDialog.h"
#include "ui/WindowIds.h"
#include "update/AboutDialog.h"

#include <wx/dcclient.h>
#include <wx/hyperlink.h>
#include <wx/renderer.h>
#include <wx/stattext.h>
#include <wx/translation.h>

#include <sstream>
#include <vector>

namespace {

std::string Describe(const wxWindow* window) {
    std::ostringstream out;
    const wxRect r = window->GetRect();
    out << window->GetClassInfo()->GetClassName() << " \"" << window->GetLabel().utf8_string()
        << "\" at (" << r.x << "," << r.y << " " << r.width << "x" << r.height << ")";
    if (const auto* caption = dynamic_cast<const PictureCaption*>(window))
        out << " \"" << caption->GetText().utf8_string() << "\"";
    return out.str();
}

// The width and height a control needs to show its words; (0, 0) when it shows none
// of its own (the picture buttons carry theirs in their pictures, sized by the theme).
wxSize NeededSize(wxWindow* window) {
    if (auto* caption = dynamic_cast<PictureCaption*>(window)) {
        wxSize text = window->GetTextExtent(caption->GetText());
        if (caption->GetTextFont().IsOk()) {
            wxCoord w = 0, h = 0;
            window->GetTextExtent(caption->GetText(), &w, &h, nullptr, nullptr,
                                  &caption->GetTextFont());
            text = wxSize(w, h);
        }
        return wxSize(text.x + caption->GetTextInset(), text.y);
    }
    // The box or circle, the 6 pixels after it, the caption.
    const int mark = wxRendererNative::Get().GetCheckBoxSize(window).x + 6;
    if (auto* box = dynamic_cast<SkinCheckBox*>(window))
        return window->GetTextExtent(box->GetCaption()) + wxSize(mark, 0);
    if (auto* radio = dynamic_cast<SkinRadioButton*>(window))
        return window->GetTextExtent(radio->GetCaption()) + wxSize(mark, 0);
    // Words the program draws on a picture button, in bold, 4 pixels in from each end.
    if (auto* button = dynamic_cast<PictureButton*>(window)) {
        wxCoord w = 0, h = 0;
        const wxFont bold = window->GetFont().Bold();
        window->GetTextExtent(button->GetCaption(), &w, &h, nullptr, nullptr, &bold);
        return button->GetCaption().empty() ? wxSize() : wxSize(w + 8, h);
    }
    if (auto* text = dynamic_cast<wxStaticText*>(window))
        return window->GetTextExtent(text->GetLabel());
    if (auto* link = dynamic_cast<wxHyperlinkCtrl*>(window))
        return window->GetTextExtent(link->GetLabel());
    return wxSize();
}

// Every shown control of parent: inside it, wide and tall enough for its words, and
// clear of every shown sibling control. Goes down through the panels (which may
// touch each other: the face lays them out, the controls on them carry the words).
// Counts the controls that show words of their own.
void CheckChildren(wxWindow* parent, std::vector<std::string>& faults, int& worded) {
    std::vector<wxWindow*> shown;
    for (wxWindow* child : parent->GetChildren())
        if (child->IsShown() && !child->IsTopLevel())
            shown.push_back(child);
    const wxRect inside(wxPoint(0, 0), parent->GetClientSize());
    for (size_t i = 0; i < shown.size(); ++i) {
        wxWindow* child = shown[i];
        const wxRect rect = child->GetRect();
        if (!inside.Contains(rect))
            faults.push_back(Describe(child) + " sticks out of " + Describe(parent));
        const wxSize needed = NeededSize(child);
        worded += needed != wxSize();
        if (needed.x > rect.width || needed.y > rect.height)
            faults.push_back(Describe(child) + " needs " + std::to_string(needed.x) + "x" +
                             std::to_string(needed.y) + " for its words");
        // The options pane's card ends 10 pixels before the pane does.
        if (parent->GetId() == ID_OPTIONS_PANE && rect.x + needed.x > inside.width - 12)
            faults.push_back(Describe(child) + " writes past the edge of the options card");
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const bool controls = child->GetChildren().empty() || shown[j]->GetChildren().empty();
            if (controls && rect.Intersects(shown[j]->GetRect()))
                faults.push_back(Describe(child) + " overlaps " + Describe(shown[j]));
        }
        CheckChildren(child, faults, worded);
    }
}

std::string Join(const std::vector<std::string>& faults) {
    std::string all;
    for (const std::string& fault : faults)
        all += "\n  " + fault;
    return all;
}

class TranslatedLayoutTest : public MainWindowTest,
                             public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        // The catalogues are found beside the staged programs.
        ThemeSandbox::UseStagedTheme();
        ASSERT_TRUE(AppLanguage::Use(GetParam())) << "no catalogue for " << GetParam();
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        AppLanguage::Use(wxString());
    }
};

} // namespace

TEST_P(TranslatedLayoutTest, EveryCaptionFitsItsSlotAndClearsItsNeighbours) {
    // In its own language: a catalogue that silently failed would pass in English.
    if (*GetParam()) {
        EXPECT_NE(_("Output Folder:"), "Output Folder:");
    }
    std::vector<std::string> faults;
    int worded = 0;
    CheckChildren(Frame(), faults, worded);
    EXPECT_TRUE(faults.empty()) << GetParam() << ":" << Join(faults);
    // 9 check boxes, 6 choices, 6 hints and the folder caption were looked at.
    EXPECT_GE(worded, 22);

    // The list's headings within their columns, and every word of the status column.
    SelectableGrid* grid = List()->GetGrid();
    wxClientDC dc(grid);
    dc.SetFont(grid->GetLabelFont());
    for (int col = 0; col < grid->GetNumberCols(); ++col) {
        if (grid->GetColSize(col) == 0)
            continue; // kept for the program, never shown
        const int text = dc.GetTextExtent(grid->GetColLabelValue(col)).x;
        EXPECT_LE(text + 6, grid->GetColSize(col))
            << GetParam() << ": heading \"" << grid->GetColLabelValue(col) << "\"";
    }
    dc.SetFont(grid->GetDefaultCellFont());
    const int status = grid->GetColSize(STATUS_COLUMN);
    for (const wxString& word : {_("Processing..."), _("Finished"), _("Fail"), _("Stop"),
                                 wxString::Format(_("%d%%"), 100), _("unknown")})
        EXPECT_LE(dc.GetTextExtent(word).x + 6, status) << GetParam() << ": \"" << word << "\"";
}

TEST_P(TranslatedLayoutTest, TheAboutBoxFitsItsLines) {
    auto* about = new AboutDialog(ImageUtil::CreateBitmap("image/base/background.png"), Frame(),
                                  wxID_ANY, _("About"));
    about->Show();
    PumpEvents();
    std::vector<std::string> faults;
    int worded = 0;
    CheckChildren(about, faults, worded);
    about->Destroy();
    PumpEvents();
    EXPECT_TRUE(faults.empty()) << GetParam() << ":" << Join(faults);
    EXPECT_GE(worded, 3); // version, copyright, link
}

TEST_P(TranslatedLayoutTest, ThePasswordDialogFitsItsWordsAndButtons) {
    auto* dialog = new SourcePasswordDialog(Frame(), "Quarterly-report.pdf",
                                            _("The password is wrong. Please try again."));
    dialog->Show();
    PumpEvents();
    std::vector<std::string> faults;
    int worded = 0;
    CheckChildren(dialog, faults, worded);
    dialog->Destroy();
    PumpEvents();
    EXPECT_TRUE(faults.empty()) << GetParam() << ":" << Join(faults);
    EXPECT_GE(worded, 6); // the name, the request, the problem, three buttons
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedLayoutTest,
                         ::testing::Values("", "de", "fr", "zh_CN"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             const std::string name = info.param;
                             if (name.empty())
                                 return std::string("English");
                             return name == "zh_CN" ? std::string("Chinese") : name;
                         });
