#pragma once

#include <QImage>

// The program icon and the button pictures, as they are stored.
QImage iconPicture();     // 16 x 16, 24-bit greyscale face
QImage closePicture();    // 36 x 18 strip: open doorway and its greyed twin
QImage questionPicture(); // 36 x 18 strip: question mark and its greyed twin
QImage helpBookPicture(); // 16 x 16: purple book with a question mark
QImage checkPicture();    // 18 x 18: green check mark
QImage crossPicture();    // 18 x 18: red diagonal cross
