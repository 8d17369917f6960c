#pragma once

// What Qt's own accessibility leaves out for this program's windows: a plain
// widget that is a window shows up as a frame (not a nameless filler), and a
// read-only line box is read-only to screen readers too (Qt marks it editable).
// Safe to call often.
void installProgramAccessibility();
