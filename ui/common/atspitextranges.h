#pragma once

// Qt 6.4's AT-SPI bridge answers a screen reader's GetBoundedRanges (the
// pieces of a text within a rectangle) with a list it cannot send: the list's
// type has no D-Bus form, so the answer is dropped and the screen reader
// waits out its time-out, 15 seconds and more, at each such question. This
// gives the type its D-Bus form, a(iisv) as AT-SPI has it, so that the
// bridge's answer, an empty list, goes out. Safe to call often.
void letBridgeSendTextRanges();
