#pragma once

#include "datestore.h"

#include <QString>
#include <memory>

class TForm1;

// The program's windows for one run: the main window, then the date
// selection dialog, created hidden and kept for the whole run.
class Program {
public:
    // Sets up the application (title, icon, style, fonts, date pattern) and
    // creates the windows, the dates kept in storePath (month.dat beside the
    // program); call after the application object exists.
    explicit Program(const QString& storePath = DateStore::defaultPath());
    ~Program();

    TForm1& mainWindow() { return *m_mainWindow; }
    // Shows the main window; the event loop then runs until it closes.
    void show();

private:
    std::unique_ptr<TForm1> m_mainWindow;
};
