#pragma once

#include <wx/app.h>

class MainApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;
};

wxDECLARE_APP(MainApp);
