#pragma once
// Documents of the application folder that are only ever opened with the desktop.

#include <QString>

class App;

// "help/help.chm" when it exists, else the HTML help "help/help.html".
QString helpDocument(const App& app);

// Opens the help with the desktop.
void openHelp(App& app);
