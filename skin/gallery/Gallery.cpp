// Gallery of the skinned toolkit over the shipped theme: the main window's face
// with every kind of control in place, a board with every button picture in every
// state, and the About dialog. With a file argument it saves a screenshot there
// and quits; otherwise it stays open until closed.

#include "core/AppUtil.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "skin/RadioGroup.h"
#include "skin/PictureCaption.h"
#include "skin/SelectableGrid.h"
#include "skin/ShapedFrame.h"
#include "skin/LayeredPictureButton.h"
#include "skin/MenuStripButton.h"
#include "skin/TransparentLabel.h"
#include "skin/DragLabel.h"
#include "skin/ProgressCellRenderer.h"
#include "skin/SkinPanel.h"
#include "skin/ShapedDialog.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <memory>

namespace {

wxFont BoldGuiFont() {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.SetWeight(wxFONTWEIGHT_BOLD);
    return font;
}

enum class Look { Normal, Hover, Pressed, Disabled };

PictureButton* MakeButton(wxWindow* parent, const wxBitmap& parentPicture, const wxString& stem,
                          const wxPoint& pos, Look look) {
    wxBitmap* normal = ImageUtil::CreateBitmap(stem + "-normal.png");
    wxSize size = normal ? normal->GetLogicalSize() : wxSize(20, 20);
    PictureButton* button = new PictureButton(parent, wxID_ANY, pos, size);
    button->SetNormalBitmap(normal)
        ->SetPressedBitmap(ImageUtil::CreateBitmap(stem + "-pressed.png"))
        ->SetHoverBitmap(ImageUtil::CreateBitmap(stem + "-current.png"))
        ->SetDisabledBitmap(normal);
    if (parentPicture.IsOk())
        button->SetBackgroundPiece(
            ImageUtil::GetSubBitmap(parentPicture, pos.x, pos.y, size.x, size.y));
    wxMouseEvent event;
    switch (look) {
    case Look::Hover:
        button->OnMouseEnter(event);
        break;
    case Look::Pressed:
        button->OnLeftDown(event);
        break;
    case Look::Disabled:
        button->Disable();
        break;
    case Look::Normal:
        break;
    }
    return button;
}

// The main window's face with its children at their fixed rectangles.
ShapedFrame* BuildMainWindow() {
    wxBitmap* face = ImageUtil::CreateBitmap("image/screen1.png");
    if (!face)
        return nullptr;
    const int W = face->GetLogicalSize().x;
    const int H = face->GetLogicalSize().y;
    ShapedFrame* frame = new ShapedFrame;
    frame->SetBitmap(face);
    frame->Create(nullptr, wxID_ANY, AppUtil::GetProductName(), wxPoint(10, 10));
    SkinPanel* back = new SkinPanel(frame, new wxBitmap(*face), 2006, wxPoint(0, 0), wxSize(W, H));
    const wxBitmap& pic = *back->GetBitmap();

    // Title bar: icon, caption, minimize (normal) and close (mouse over).
    wxBitmap titlePiece = ImageUtil::GetSubBitmap(pic, 0, 2, W, 28);
    {
        wxMemoryDC dc(titlePiece);
        wxBitmap icon = ImageUtil::GetBitmap("image/application/application.png");
        if (icon.IsOk())
            dc.DrawBitmap(icon, 13, 8, true);
    }
    SkinPanel* title =
        new SkinPanel(back, new wxBitmap(titlePiece), 2001, wxPoint(0, 2), wxSize(W, 28));
    new DragLabel(title, title->GetBitmap(), AppUtil::GetProductName(), frame, 2014, wxPoint(37, 8),
                  BoldGuiFont(), *wxWHITE);
    PictureButton* close =
        MakeButton(title, *title->GetBitmap(), "image/base/close", wxPoint(W - 32, 2), Look::Hover);
    MakeButton(title, *title->GetBitmap(), "image/base/minimize",
               wxPoint(close->GetPosition().x - close->GetSize().x - 1, 2), Look::Normal);

    // Menu bar: File with its hover look, Help normal.
    SkinPanel* bar = new SkinPanel(back, ImageUtil::CreateSubBitmap(pic, 10, 29, W - 10, 19), 2002,
                                   wxPoint(10, 29), wxSize(W - 10, 19));
    int x = 8;
    for (const char* name : {"file", "help"}) {
        MenuStripButton* button = new MenuStripButton(
            new wxMenu, ImageUtil::CreateBitmap(wxString("image/menubar/") + name + "-normal.png"),
            ImageUtil::CreateBitmap(wxString("image/menubar/") + name + "-pressed.png"), bar,
            wxID_ANY);
        button->Move(x, (19 - button->GetSize().y) / 2);
        button->SetParentBitmap(bar->GetBitmap());
        button->UpdateBackgroundPiece();
        if (x == 8)
            button->ShowHover();
        x += button->GetSize().x + 5;
    }

    // Tool bar: add normal, delete under the pointer, clear all pressed.
    SkinPanel* tools = new SkinPanel(back, ImageUtil::CreateSubBitmap(pic, W - 138, 55, 128, 172),
                                     2003, wxPoint(W - 138, 55), wxSize(128, 172));
    PictureButton* add = MakeButton(tools, *tools->GetBitmap(), "image/toolbar/add-file",
                                    wxPoint(5, 0), Look::Normal);
    int h = add->GetSize().y;
    MakeButton(tools, *tools->GetBitmap(), "image/toolbar/delete", wxPoint(5, h + 2), Look::Hover);
    MakeButton(tools, *tools->GetBitmap(), "image/toolbar/clear-all", wxPoint(5, 2 * (h + 2)),
               Look::Pressed);

    // File list with progress cells.
    SelectableGrid* grid =
        new SelectableGrid(back, 2015, wxPoint(15, 55), wxSize(W - 153, 172), wxBORDER_SIMPLE);
    grid->CreateGrid(3, 4, wxGrid::wxGridSelectRows);
    grid->SetRowLabelSize(20);
    grid->SetColLabelSize(20);
    grid->SetLabelBackgroundColour(wxColour(232, 232, 232));
    grid->SetGridLineColour(wxColour(232, 232, 232));
    const char* labels[] = {"File Name", "Size", "Total Pages", "Status"};
    const int widths[] = {200, 100, 100, W - 593};
    for (int c = 0; c < 4; ++c) {
        grid->SetColLabelValue(c, labels[c]);
        grid->SetColSize(c, widths[c]);
    }
    const char* names[] = {"annual-report.pdf", "contract draft.pdf", "scan 0042.pdf"};
    const char* sizes[] = {"1.24 MB", "312.50 KB", "8.02 MB"};
    const char* pages[] = {"48", "7", "120"};
    const int percents[] = {100, 50, 0};
    const char* texts[] = {"Finished", "50%", "Processing..."};
    for (int r = 0; r < 3; ++r) {
        grid->SetCellValue(r, 0, names[r]);
        grid->SetCellValue(r, 1, sizes[r]);
        grid->SetCellValue(r, 2, pages[r]);
        ProgressCellRenderer* renderer = new ProgressCellRenderer;
        renderer->SetPercent(percents[r]);
        renderer->SetText(texts[r]);
        renderer->SetColour(r == 0 ? wxColour(120, 200, 140) : wxColour(120, 170, 230));
        grid->SetCellRenderer(r, 3, renderer);
    }
    grid->SelectRow(1);

    // Options pane rows, as the pane lays them out.
    SkinPanel* pane = new SkinPanel(back, ImageUtil::CreateSubBitmap(pic, 0, 250, W, 280), 2004,
                                    wxPoint(0, 250), wxSize(W, 280));
    const wxBitmap& panePic = *pane->GetBitmap();
    auto piece = [&](wxWindow* w) {
        wxRect r = w->GetRect();
        return ImageUtil::GetSubBitmap(panePic, r.x, r.y, r.width, r.height);
    };
    wxFont hintFont(8, wxFONTFAMILY_MODERN, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_LIGHT);
    auto hint = [&](const wxString& text, const wxPoint& at, const wxSize& size) {
        PictureCaption* label = new PictureCaption(
            pane, wxID_ANY, text, hintFont,
            ImageUtil::GetSubBitmap(panePic, at.x, at.y, size.x, size.y), at, size);
        label->SetTextColour(wxColour(96, 104, 118));
    };
    SkinCheckBox* user = new SkinCheckBox(pane, 600, "User Password", wxPoint(30, 12));
    SkinCheckBox* owner = new SkinCheckBox(pane, 601, "Owner Password", wxPoint(30, 42));
    user->SetBackgroundPiece(piece(user));
    owner->SetBackgroundPiece(piece(owner));
    user->SetChecked(true);
    int L = std::max(user->GetSize().x, owner->GetSize().x) + 2;
    wxTextCtrl* userText =
        new wxTextCtrl(pane, 602, "secret", wxPoint(30 + L, 12), wxSize(175, 22));
    wxTextCtrl* ownerText = new wxTextCtrl(pane, 603, "", wxPoint(30 + L, 42), wxSize(175, 22));
    ownerText->Disable();
    hint("(Password to open PDF file)", wxPoint(30 + L + 175, 12), wxSize(W - (30 + L + 175), 22));
    hint("(Password to change permission settings)", wxPoint(30 + L + 175, 42),
         wxSize(W - (30 + L + 175), 22));
    (void)userText;
    const int half = (W - 60) / 2;
    const int third = (W - 60) / 3;
    static RadioGroup levels;
    static RadioGroup resolution;
    SkinRadioButton* aes = new SkinRadioButton(pane, 604, "128 bits AES", wxPoint(30, 102));
    SkinRadioButton* rc4 = new SkinRadioButton(pane, 605, "128 bits RC4", wxPoint(half, 102));
    SkinRadioButton* rc440 = new SkinRadioButton(pane, 606, "40 bits RC4", wxPoint(30, 132));
    for (SkinRadioButton* r : {aes, rc4, rc440})
        r->SetBackgroundPiece(piece(r));
    hint("(Acrobat 7.X or above)", wxPoint(30 + aes->GetSize().x, 102),
         wxSize(half - 30 - aes->GetSize().x, aes->GetSize().y));
    hint("(Acrobat 5.X or above)", wxPoint(half + rc4->GetSize().x, 102),
         wxSize(W - half - rc4->GetSize().x, rc4->GetSize().y));
    hint("(Acrobat 4.X,5.X)", wxPoint(30 + rc440->GetSize().x, 132),
         wxSize(half - 30 - rc440->GetSize().x, rc440->GetSize().y));
    levels.Add({aes, rc4, rc440});
    rc4->SetValue(true);
    levels.InitFromButtons();
    SkinCheckBox* print = new SkinCheckBox(pane, 607, "Permit Document Printing", wxPoint(30, 192));
    print->SetChecked(true);
    print->SetBackgroundPiece(piece(print));
    SkinRadioButton* high = new SkinRadioButton(pane, 608, "High Resolution", wxPoint(third, 192));
    SkinRadioButton* low =
        new SkinRadioButton(pane, 609, "Low Resolution", wxPoint(2 * third, 192));
    high->SetBackgroundPiece(piece(high));
    low->SetBackgroundPiece(piece(low));
    low->SetEnabled(false);
    resolution.Add({high, low});
    high->SetValue(true);
    resolution.InitFromButtons();
    const char* left[] = {"Permit Content Copying", "Permit Content Modifying",
                          "Permit Annotation Adding"};
    const char* right[] = {"Permit Content Copying for Accessibility", "Permit Form Filling",
                           "Permit Assemble Document"};
    for (int i = 0; i < 3; ++i) {
        SkinCheckBox* a = new SkinCheckBox(pane, 610 + i, left[i], wxPoint(30, 212 + 20 * i));
        SkinCheckBox* b = new SkinCheckBox(pane, wxID_ANY, right[i], wxPoint(half, 212 + 20 * i));
        a->SetBackgroundPiece(piece(a));
        b->SetBackgroundPiece(piece(b));
        a->SetChecked(i != 1);
        b->SetEnabled(i != 2);
    }

    // Output strip and start area.
    SkinPanel* output = new SkinPanel(back, ImageUtil::CreateSubBitmap(pic, 10, H - 82, 570, 76),
                                      2008, wxPoint(10, H - 82), wxSize(570, 76));
    wxFont outFont(9, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL);
    int labelW = 0;
    int labelH = 0;
    output->GetTextExtent("Output Folder:", &labelW, &labelH, nullptr, nullptr, &outFont);
    PictureCaption* folderLabel =
        new PictureCaption(output, wxID_ANY, "Output Folder:", outFont,
                           ImageUtil::GetSubBitmap(*output->GetBitmap(), 16, 26, labelW + 4, 22),
                           wxPoint(16, 26), wxSize(labelW + 4, 22));
    int boxX = 16 + folderLabel->GetSize().x + 6;
    new wxTextCtrl(output, wxID_ANY, "/home/user/Documents/Encrypted", wxPoint(boxX, 26),
                   wxSize(240, 22), wxTE_READONLY);
    PictureButton* browse = MakeButton(output, *output->GetBitmap(), "image/output/browse",
                                       wxPoint(boxX + 248, 24), Look::Hover);
    MakeButton(output, *output->GetBitmap(), "image/output/open",
               wxPoint(browse->GetPosition().x + browse->GetSize().x + 8, 24), Look::Pressed);
    SkinPanel* start = new SkinPanel(back, ImageUtil::CreateSubBitmap(pic, 580, H - 65, 155, 53),
                                     2011, wxPoint(580, H - 65), wxSize(155, 53));
    MakeButton(start, *start->GetBitmap(), "image/start/start", wxPoint(0, 0), Look::Normal);
    return frame;
}

// Every button picture in every state, side by side.
wxFrame* BuildStateBoard(const wxBitmap& face) {
    wxFrame* frame =
        new wxFrame(nullptr, wxID_ANY, "states", wxPoint(770, 10), wxSize(500, 620), wxBORDER_NONE);
    // A plain plate of the face's body colour, without the face's captions.
    wxColour body = face.ConvertToImage().GetSubImage(wxRect(300, 440, 1, 1)).IsOk()
                        ? wxColour(face.ConvertToImage().GetRed(300, 440),
                                   face.ConvertToImage().GetGreen(300, 440),
                                   face.ConvertToImage().GetBlue(300, 440))
                        : *wxWHITE;
    wxBitmap* plate = new wxBitmap(500, 620);
    {
        wxMemoryDC dc(*plate);
        dc.SetBackground(wxBrush(body));
        dc.Clear();
    }
    SkinPanel* board = new SkinPanel(frame, plate, wxID_ANY, wxPoint(0, 0), wxSize(500, 620));
    wxBitmap navy = ImageUtil::GetSubBitmap(face, 100, 5, 500, 40);
    wxFont font = BoldGuiFont();
    const Look looks[] = {Look::Normal, Look::Hover, Look::Pressed, Look::Disabled};
    const char* lookNames[] = {"normal", "mouse over", "pressed", "disabled"};
    for (int i = 0; i < 4; ++i)
        new TransparentLabel(board->GetBitmap(), lookNames[i], board, wxID_ANY,
                             wxPoint(10 + 122 * i, 6), font, wxColour(30, 96, 170));
    struct Row {
        const char* stem;
        int height;
        bool dark;
    };
    const Row rows[] = {{"image/toolbar/add-file", 44, false},  {"image/toolbar/delete", 44, false},
                        {"image/toolbar/clear-all", 44, false}, {"image/output/browse", 32, false},
                        {"image/output/open", 32, false},       {"image/start/start", 56, false},
                        {"image/start/stop", 56, false},        {"image/about/ok", 34, false},
                        {"image/base/close", 28, true},         {"image/base/minimize", 28, true}};
    int y = 28;
    for (const Row& row : rows) {
        wxWindow* parent = board;
        wxBitmap picture = *board->GetBitmap();
        int rowY = y;
        if (row.dark) {
            SkinPanel* strip = new SkinPanel(board, new wxBitmap(navy), wxID_ANY, wxPoint(0, y),
                                             wxSize(500, row.height));
            parent = strip;
            picture = navy;
            rowY = 4;
        }
        for (int i = 0; i < 4; ++i)
            MakeButton(parent, picture, row.stem, wxPoint(10 + 122 * i, rowY), looks[i]);
        y += row.height;
    }
    // Menu entries: normal, hover.
    SkinPanel* strip =
        new SkinPanel(board, new wxBitmap(navy), wxID_ANY, wxPoint(0, y), wxSize(500, 26));
    int x = 10;
    for (const char* name : {"file", "help"}) {
        for (int hover = 0; hover < 2; ++hover) {
            MenuStripButton* button = new MenuStripButton(
                new wxMenu,
                ImageUtil::CreateBitmap(wxString("image/menubar/") + name + "-normal.png"),
                ImageUtil::CreateBitmap(wxString("image/menubar/") + name + "-pressed.png"), strip,
                wxID_ANY, wxPoint(x, 3));
            button->SetParentBitmap(strip->GetBitmap());
            button->UpdateBackgroundPiece();
            if (hover)
                button->ShowHover();
            x += 122;
        }
    }
    y += 30;
    // Icons.
    for (const char* icon :
         {"image/application/application.png", "image/base/lock.png", "image/base/delete.png"}) {
        wxBitmap picture = ImageUtil::GetBitmap(icon);
        wxBitmap withBack = ImageUtil::GetSubBitmap(*board->GetBitmap(), x % 500, y, 16, 16);
        if (picture.IsOk()) {
            wxMemoryDC dc(withBack);
            dc.DrawBitmap(picture, 0, 0, true);
        }
        static int ix = 10;
        new SkinPanel(board, new wxBitmap(withBack), wxID_ANY, wxPoint(ix, y), wxSize(16, 16));
        ix += 30;
    }
    return frame;
}

ShapedDialog* BuildAbout() {
    ShapedDialog* about =
        new ShapedDialog(ImageUtil::CreateBitmap("image/base/background.png"), nullptr, 301,
                         "About", wxPoint(10, 650), 25, wxPoint(10, 5), wxSize(12, 5));
    wxBitmap* background = about->GetBackgroundBitmap();
    if (!background)
        return about;
    wxString version = AppUtil::GetProductName() + " " + AppUtil::GetVersion();
    TransparentLabel* line = new TransparentLabel(
        background, version, about, wxID_ANY, wxPoint(0, 120), BoldGuiFont(), wxColour(38, 52, 70));
    line->Move((background->GetLogicalSize().x - line->GetSize().x) / 2, 120);
    TransparentLabel* link = new TransparentLabel(
        background, "Product Support Page", about, wxID_ANY, wxPoint(0, 160),
        wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT), wxColour(30, 96, 170));
    link->Move((background->GetLogicalSize().x - link->GetSize().x) / 2, 160);
    new LayeredPictureButton(background, ImageUtil::CreateBitmap("image/about/ok-normal.png"),
                             ImageUtil::CreateBitmap("image/about/ok-current.png"),
                             ImageUtil::CreateBitmap("image/about/ok-pressed.png"), about, 311,
                             wxPoint(340, 240));
    return about;
}

class GalleryApp : public wxApp {
public:
    bool OnInit() override {
        AppUtil::SetArgv0(wxString::FromUTF8(PZ_STAGE_DIR "/bin/gallery"));
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
        wxInitAllImageHandlers();
        ShapedFrame* main = BuildMainWindow();
        if (!main) {
            fprintf(stderr, "theme not found below %s\n", PZ_STAGE_DIR);
            return false;
        }
        BuildStateBoard(*main->GetBitmap())->Show();
        ShapedDialog* about = BuildAbout();
        about->Show();
        // Placed once it is mapped: without a window manager an earlier move is lost.
        CallAfter([about] { about->Move(770, 660); });
        main->Show();
        SetTopWindow(main);
        if (argc > 1) {
            m_shotPath = argv[1];
            m_timer.Bind(wxEVT_TIMER, &GalleryApp::OnShot, this);
            m_timer.StartOnce(1500);
        }
        return true;
    }

private:
    void OnShot(wxTimerEvent&) {
        wxScreenDC screen;
        wxSize size = screen.GetSize();
        wxBitmap shot(size.x, size.y);
        {
            wxMemoryDC mem(shot);
            mem.Blit(0, 0, size.x, size.y, &screen, 0, 0);
        }
        shot.SaveFile(m_shotPath, wxBITMAP_TYPE_PNG);
        for (wxWindow* w : wxTopLevelWindows)
            w->Destroy();
        ExitMainLoop();
    }

    wxString m_shotPath;
    wxTimer m_timer;
};

} // namespace

wxIMPLEMENT_APP_NO_MAIN(GalleryApp);

int main(int argc, char** argv) {
    return wxEntry(argc, argv);
}
