#pragma once

class TForm1;

// When the desktop session ends (log-off or shutdown), the program keeps its
// dates once, without a word, and ends: the session manager first asks it to
// keep its data, then ends it with a quit request of its own. Nothing shown
// then could be answered, and nothing may hold up the end of the session.
void endWithTheSession(TForm1& mainWindow);
