#pragma once

class TForm1;

// When the desktop session ends (log-off or shutdown), the program keeps its
// dates once, without a word, and ends. Through a session manager this comes
// in two steps: first a request to keep the data, then a quit request of its
// own. Elsewhere (a Wayland session, systemd stopping the session, a shutdown,
// a closed terminal) the system sends SIGTERM, SIGHUP or SIGINT, which end
// the program the same way, also while a modal window is open, unless the
// program was started with that signal ignored (nohup). Nothing shown
// then could be answered, and nothing may hold up the end of the session.
void endWithTheSession(TForm1& mainWindow);
