// The security options pane's rules, driven through its controls.

#include "MainWindowFixture.h"
#include "ScreenGrab.h"
#include "WaitFor.h"
#include "engine/api/EngineService.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "ui/SecurityOptionsPane.h"
#include "ui/WindowIds.h"

#include <wx/renderer.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {
const int kPermissionBoxes[] = {ID_PERMIT_PRINTING, ID_PERMIT_COPY,       ID_PERMIT_MODIFY,
                                ID_PERMIT_ANNOTATE, ID_PERMIT_FILL_FORMS, ID_PERMIT_ACCESSIBILITY,
                                ID_PERMIT_ASSEMBLE};
const int kExtendedControls[] = {ID_PRINT_HIGH, ID_PRINT_LOW, ID_PERMIT_FILL_FORMS,
                                 ID_PERMIT_ACCESSIBILITY, ID_PERMIT_ASSEMBLE};
} // namespace

using OptionsPaneTest = MainWindowTest;

TEST_F(OptionsPaneTest, StartsWithRc4128AndEverythingLocked) {
    const EncryptOptions options = Pane()->GetOptions();
    EXPECT_EQ(options.EncryptionLevel, 1);
    EXPECT_EQ(options.PrintPermission, 0);
    EXPECT_FALSE(options.copy || options.modify || options.annotate || options.fillForms ||
                 options.accessibilityCopy || options.assemble || options.reserved);
    EXPECT_TRUE(options.userPassword.empty());
    EXPECT_TRUE(options.ownerPassword.empty());
    EXPECT_FALSE(Pane()->IsUserPasswordEnabled());
    EXPECT_FALSE(Pane()->IsOwnerPasswordEnabled());

    EXPECT_TRUE(Radio(ID_LEVEL_RC4_128)->GetValue());
    EXPECT_FALSE(Radio(ID_LEVEL_AES_128)->GetValue());
    EXPECT_FALSE(Radio(ID_LEVEL_RC4_40)->GetValue());
    EXPECT_TRUE(Radio(ID_PRINT_HIGH)->GetValue());
    EXPECT_FALSE(TextBox(ID_USER_PASSWORD_TEXT)->IsEnabled());
    EXPECT_FALSE(TextBox(ID_OWNER_PASSWORD_TEXT)->IsEnabled());
    for (int id : kPermissionBoxes)
        EXPECT_FALSE(CheckBox(id)->GetEnabled()) << id;
    EXPECT_FALSE(Radio(ID_PRINT_HIGH)->GetEnabled());
    EXPECT_FALSE(Radio(ID_PRINT_LOW)->GetEnabled());
}

TEST_F(OptionsPaneTest, UserPasswordBoxEnablesAndUntickingForgetsThePassword) {
    Click(ID_USER_PASSWORD_BOX);
    EXPECT_TRUE(Pane()->IsUserPasswordEnabled());
    EXPECT_TRUE(TextBox(ID_USER_PASSWORD_TEXT)->IsEnabled());
    TypePassword(ID_USER_PASSWORD_TEXT, "open-me");
    EXPECT_EQ(Pane()->GetOptions().userPassword, "open-me");

    Click(ID_USER_PASSWORD_BOX);
    EXPECT_FALSE(Pane()->IsUserPasswordEnabled());
    EXPECT_FALSE(TextBox(ID_USER_PASSWORD_TEXT)->IsEnabled());
    EXPECT_TRUE(TextBox(ID_USER_PASSWORD_TEXT)->GetValue().empty());
    EXPECT_TRUE(Pane()->GetOptions().userPassword.empty());
}

TEST_F(OptionsPaneTest, OwnerBoxUnlocksPermissionsButResolutionWaitsForPrinting) {
    Click(ID_OWNER_PASSWORD_BOX);
    EXPECT_TRUE(Pane()->IsOwnerPasswordEnabled());
    EXPECT_TRUE(TextBox(ID_OWNER_PASSWORD_TEXT)->IsEnabled());
    for (int id : kPermissionBoxes)
        EXPECT_TRUE(CheckBox(id)->GetEnabled()) << id;
    EXPECT_FALSE(Radio(ID_PRINT_HIGH)->GetEnabled());
    EXPECT_FALSE(Radio(ID_PRINT_LOW)->GetEnabled());

    Click(ID_PERMIT_PRINTING);
    EXPECT_TRUE(Radio(ID_PRINT_HIGH)->GetEnabled());
    EXPECT_TRUE(Radio(ID_PRINT_LOW)->GetEnabled());
    EXPECT_EQ(Pane()->GetOptions().PrintPermission, 2);

    Click(ID_PRINT_LOW);
    EXPECT_EQ(Pane()->GetOptions().PrintPermission, 3);
    Click(ID_PRINT_HIGH);
    EXPECT_EQ(Pane()->GetOptions().PrintPermission, 2);

    // Unticking printing forbids it whatever the resolution radios show.
    Click(ID_PRINT_LOW);
    Click(ID_PERMIT_PRINTING);
    EXPECT_EQ(Pane()->GetOptions().PrintPermission, 0);
    EXPECT_FALSE(Radio(ID_PRINT_LOW)->GetEnabled());

    // Unticking the owner box locks the permissions again but keeps their values.
    Click(ID_PERMIT_COPY);
    EXPECT_TRUE(Pane()->GetOptions().copy);
    Click(ID_OWNER_PASSWORD_BOX);
    for (int id : kPermissionBoxes)
        EXPECT_FALSE(CheckBox(id)->GetEnabled()) << id;
    EXPECT_TRUE(Pane()->GetOptions().copy);
}

TEST_F(OptionsPaneTest, EachPermissionBoxDrivesItsOwnFlag) {
    Click(ID_OWNER_PASSWORD_BOX);
    struct {
        int id;
        bool EncryptOptions::*flag;
    } const boxes[] = {{ID_PERMIT_COPY, &EncryptOptions::copy},
                       {ID_PERMIT_MODIFY, &EncryptOptions::modify},
                       {ID_PERMIT_ANNOTATE, &EncryptOptions::annotate},
                       {ID_PERMIT_FILL_FORMS, &EncryptOptions::fillForms},
                       {ID_PERMIT_ACCESSIBILITY, &EncryptOptions::accessibilityCopy},
                       {ID_PERMIT_ASSEMBLE, &EncryptOptions::assemble}};
    for (const auto& box : boxes) {
        Click(box.id);
        const EncryptOptions on = Pane()->GetOptions();
        EXPECT_TRUE(on.*box.flag) << box.id;
        int set =
            on.copy + on.modify + on.annotate + on.fillForms + on.accessibilityCopy + on.assemble;
        EXPECT_EQ(set, 1) << "box " << box.id << " touched another flag";
        Click(box.id);
        EXPECT_FALSE(Pane()->GetOptions().*box.flag) << box.id;
    }
}

TEST_F(OptionsPaneTest, FortyBitHidesTheExtendedControlsAndAllowsPlainPrinting) {
    Click(ID_OWNER_PASSWORD_BOX);
    Click(ID_PERMIT_PRINTING);
    Click(ID_PRINT_LOW);
    Click(ID_LEVEL_RC4_40);
    EXPECT_EQ(Pane()->GetOptions().EncryptionLevel, 0);
    EXPECT_EQ(Pane()->GetOptions().PrintPermission, 1);
    for (int id : kExtendedControls)
        EXPECT_FALSE(Pane()->FindWindow(id)->IsShown()) << id;

    Click(ID_LEVEL_AES_128);
    EXPECT_EQ(Pane()->GetOptions().EncryptionLevel, 2);
    EXPECT_EQ(Pane()->GetOptions().PrintPermission, 3) << "the selected resolution comes back";
    for (int id : kExtendedControls)
        EXPECT_TRUE(Pane()->FindWindow(id)->IsShown()) << id;

    Click(ID_LEVEL_RC4_128);
    EXPECT_EQ(Pane()->GetOptions().EncryptionLevel, 1);
    EXPECT_FALSE(Radio(ID_LEVEL_AES_128)->GetValue());
}

TEST_F(OptionsPaneTest, AesLevelsShowAccessibilityCopyingAsAlwaysGranted) {
    Click(ID_OWNER_PASSWORD_BOX);
    SkinCheckBox* box = CheckBox(ID_PERMIT_ACCESSIBILITY);
    const struct {
        int radio;
        bool aes;
    } levels[] = {{ID_LEVEL_AES_128, true}, {ID_LEVEL_RC4_128, false}, {ID_LEVEL_AES_256, true}};
    for (const auto& level : levels) {
        Click(level.radio);
        EXPECT_EQ(box->IsChecked(), level.aes) << level.radio;
        EXPECT_EQ(box->GetEnabled(), !level.aes) << level.radio;
        EXPECT_EQ(box->GetToolTipText().Contains("always allow"), level.aes) << level.radio;
        EXPECT_EQ(Pane()->GetOptions().accessibilityCopy, level.aes) << level.radio;
    }
    // With AES the box cannot be unticked; back on RC4 the user's own choice returns.
    Click(ID_PERMIT_ACCESSIBILITY);
    EXPECT_TRUE(box->IsChecked());
    Click(ID_LEVEL_RC4_128);
    EXPECT_FALSE(box->IsChecked());
    Click(ID_PERMIT_ACCESSIBILITY);
    Click(ID_LEVEL_AES_128);
    Click(ID_LEVEL_RC4_128);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_TRUE(Pane()->GetOptions().accessibilityCopy);
}

TEST_F(OptionsPaneTest, AesTwoFiftySixTakesAnyCharacterAndOtherLevelsClearSuchPasswords) {
    Click(ID_LEVEL_AES_256);
    EXPECT_EQ(Pane()->GetOptions().EncryptionLevel, PDFMS_LEVEL_AES_256);
    for (int id : kExtendedControls)
        EXPECT_TRUE(Pane()->FindWindow(id)->IsShown()) << id;
    const wxString unicode = wxString::FromUTF8("p\xC3\xA4ss-\xE5\xAF\x86");
    SetPasswords(unicode, "owner");
    EXPECT_EQ(TextBox(ID_USER_PASSWORD_TEXT)->GetValue(), unicode);
    EXPECT_EQ(Pane()->GetOptions().userPassword, unicode);

    m_dialogs.ExpectMessage("Only 256 bits AES accepts characters beyond Latin letters, digits "
                            "and punctuation, or more than 32 of them. The user password was "
                            "cleared; please type it again.");
    Click(ID_LEVEL_RC4_128);
    EXPECT_TRUE(Pane()->GetOptions().userPassword.empty());
    EXPECT_TRUE(TextBox(ID_USER_PASSWORD_TEXT)->GetValue().empty());
    EXPECT_EQ(Pane()->GetOptions().ownerPassword, "owner");
}

TEST_F(OptionsPaneTest, DisabledControlsAreGreyedAndKeepTheirTicks) {
    wxImage probe;
    if (!ReadScreenArea(wxRect(0, 0, 2, 2), probe))
        GTEST_SKIP() << "ImageMagick's import is needed to read the screen";
    m_frame->Raise();
    // The darkest ink of a control as the screen shows it (0 black, 255 white).
    auto darkest = [](wxWindow* window) {
        window->Update();
        PumpEvents();
        wxImage shot;
        if (!ReadScreenArea(window->GetScreenRect(), shot))
            return -1;
        int ink = 255;
        for (int y = 0; y < shot.GetHeight(); ++y)
            for (int x = 0; x < shot.GetWidth(); ++x)
                ink = std::min(ink,
                               (shot.GetRed(x, y) + shot.GetGreen(x, y) + shot.GetBlue(x, y)) / 3);
        return ink;
    };
    SkinCheckBox* owner = CheckBox(ID_OWNER_PASSWORD_BOX);
    ASSERT_TRUE(WaitFor([&] { return darkest(owner) >= 0 && darkest(owner) < 80; }))
        << "enabled caption not drawn dark: " << darkest(owner);
    // As during a run: the whole pane is locked.
    Pane()->Disable();
    EXPECT_TRUE(WaitFor([&] { return darkest(owner) > 110; })) << darkest(owner);
    Pane()->Enable();

    // A disabled box still shows whether it is ticked.
    SkinCheckBox* accessibility = CheckBox(ID_PERMIT_ACCESSIBILITY);
    const wxSize box = wxRendererNative::Get().GetCheckBoxSize(accessibility);
    auto boxPixels = [&] {
        accessibility->Update();
        PumpEvents();
        wxImage shot;
        ReadScreenArea(wxRect(accessibility->GetScreenPosition(), box), shot);
        return shot;
    };
    ASSERT_FALSE(accessibility->GetEnabled());
    const wxImage unticked = boxPixels();
    Click(ID_LEVEL_AES_128);
    ASSERT_FALSE(accessibility->GetEnabled());
    ASSERT_TRUE(accessibility->IsChecked());
    const wxImage ticked = boxPixels();
    ASSERT_TRUE(unticked.IsOk() && ticked.IsOk());
    EXPECT_NE(memcmp(unticked.GetData(), ticked.GetData(), box.x * box.y * 3), 0)
        << "a ticked disabled box looks like an unticked one";
}

TEST_F(OptionsPaneTest, AtRc4LatinLettersPassAndARefusedCharacterSaysSoBesideTheBox) {
    const wxString usual = "(Password to open PDF file)";
    SetPasswords("abc", "owner");
    // What the command line takes at this level: Latin letters of PDFDocEncoding.
    const wxString latin = wxString::FromUTF8("p\xC3\xA4sswort");
    TypePassword(ID_USER_PASSWORD_TEXT, latin);
    EXPECT_EQ(Pane()->GetOptions().userPassword, latin);
    EXPECT_EQ(Pane()->GetPasswordHint(ID_USER_PASSWORD_TEXT), usual);

    // A character it cannot encode, pasted: the box keeps its text and says why.
    TypePassword(ID_USER_PASSWORD_TEXT, latin + wxString::FromUTF8("\xE5\xAF\x86"));
    EXPECT_EQ(TextBox(ID_USER_PASSWORD_TEXT)->GetValue(), latin);
    EXPECT_EQ(Pane()->GetOptions().userPassword, latin);
    EXPECT_EQ(Pane()->GetPasswordHint(ID_USER_PASSWORD_TEXT),
              wxString::FromUTF8("\xE2\x80\x9C\xE5\xAF\x86\xE2\x80\x9D cannot be used at "
                                 "this level; 256 bits AES takes any character"));
    EXPECT_EQ(Pane()->GetPasswordHint(ID_OWNER_PASSWORD_TEXT),
              "(Password to change permission settings)");
    TypePassword(ID_OWNER_PASSWORD_TEXT, wxString('x', 33));
    EXPECT_EQ(TextBox(ID_OWNER_PASSWORD_TEXT)->GetValue(), "owner");
    EXPECT_EQ(Pane()->GetPasswordHint(ID_OWNER_PASSWORD_TEXT),
              "At most 32 characters at this level; 256 bits AES takes more");

    // The next change the level takes puts the usual words back.
    TypePassword(ID_USER_PASSWORD_TEXT, latin + "1");
    EXPECT_EQ(Pane()->GetPasswordHint(ID_USER_PASSWORD_TEXT), usual);
    // At AES-256 the same character is a password's like any other.
    Click(ID_LEVEL_AES_256);
    EXPECT_EQ(Pane()->GetPasswordHint(ID_OWNER_PASSWORD_TEXT),
              "(Password to change permission settings)");
    TypePassword(ID_USER_PASSWORD_TEXT, wxString::FromUTF8("\xE5\xAF\x86"));
    EXPECT_EQ(Pane()->GetOptions().userPassword, wxString::FromUTF8("\xE5\xAF\x86"));
}

TEST_F(OptionsPaneTest, TypingAPasswordKeyByKeyKeepsEveryCharacter) {
    Click(ID_USER_PASSWORD_BOX);
    wxTextCtrl* box = TextBox(ID_USER_PASSWORD_TEXT);
    m_frame->Raise();
    box->SetFocus();
    ASSERT_TRUE(WaitFor([box] { return wxWindow::FindFocus() == box; }))
        << "the password box did not get the keyboard focus";
    wxUIActionSimulator keyboard;
    keyboard.Text("secret42");
    EXPECT_TRUE(WaitFor([box] { return box->GetValue() == "secret42"; }))
        << "box shows \"" << box->GetValue().utf8_str() << "\"";
    EXPECT_EQ(Pane()->GetOptions().userPassword, "secret42");
    // Nothing may be selected after a key, or the next key would replace it all.
    long from = 0, to = 0;
    box->GetSelection(&from, &to);
    EXPECT_EQ(from, to) << "typed text is selected";
}
