#pragma once

// What Qt's own accessibility leaves out for this program's windows: a plain
// widget that is a window shows up as a frame (not a nameless filler), a
// read-only line box is read-only to screen readers too (Qt marks it editable),
// a month calendar's days and the lists, tables and trees of Qt's own views
// (those of the save and print dialogs among them) answer any question
// safely, a page tab says it has the focus only when its tab bar has it, and
// a screen reader hears of focus and selection only where they are on the
// screen.
// Call it before the windows are built; safe to call often.
void installProgramAccessibility();
