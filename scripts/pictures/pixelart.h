#pragma once

#include <QByteArrayList>
#include <QImage>

// Small pictures drawn pixel by pixel in the sixteen standard colours, one
// letter a colour:
//   k black   m maroon  g green   o olive   n navy   p purple   t teal  s silver
//   a grey    r red     l lime    y yellow  b blue   f magenta  c cyan  w white
QVector<QRgb> sixteenColours();
int colourIndex(char letter);

// A 16-colour picture from rows of colour letters (all rows the same length).
QImage fromColourMap(const QByteArrayList& rows);

// A 24-bit greyscale picture from rows of hex digits, 0 black to F white.
QImage fromGreyMap(const QByteArrayList& rows);

// The picture followed by its greyed, embossed twin for the disabled state, as
// one strip twice as wide; the twin keeps the picture's background colour.
QImage withDisabledTwin(const QImage& picture);
