#pragma once

#include <QImage>

// The reference chart of the help dialog: 295 x 260 pixels, 256 colours.
QImage chartPicture();
