#pragma once
// The main window's children reach each other by fixed id through these helpers,
// never through stored pointers to siblings.

class wxWindow;
class wxEvent;

class WindowLookup {
public:
    // The window with that id inside the top-level window that holds from, or null.
    static wxWindow* FindInTopWindow(const wxWindow* from, int id);
    // Queues a menu command with that id to window targetId; false when it is absent.
    static bool QueueCommand(const wxWindow* from, int targetId, int commandId);
};
