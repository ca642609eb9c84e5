#pragma once

#include <wx/app.h>

#include <memory>

class InstanceHandOver;

class MainApp : public wxApp {
public:
    MainApp();
    ~MainApp() override;

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

private:
    std::unique_ptr<InstanceHandOver> m_handOver;
    // This start gave its files to the window already open and ends at once.
    bool m_handedOver = false;
};

wxDECLARE_APP(MainApp);
