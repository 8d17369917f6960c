#pragma once

// What Qt's own accessibility leaves out for this program's windows: a plain
// widget that is a window shows up as a frame (not a nameless filler), the
// text of line boxes, spin boxes and text boxes answers every question at
// once (textaccessible.h), a month calendar's days and the lists, tables and
// trees of Qt's own views (those of the save and print dialogs among them)
// answer any question safely, a folder's files are a table that a screen
// reader reads at once, a page tab says it has the focus only when its tab
// bar has it, and a screen reader hears of focus and selection only where
// they are on the screen.
// Call it before the windows are built; safe to call often.
void installProgramAccessibility();
