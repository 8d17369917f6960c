#pragma once

#include <QIcon>
#include <QString>

// A button picture from the resources: a strip of square images, the first
// for the normal state and, where there is a second, one for the disabled
// state. The colour of the bottom-left pixel is drawn transparent.
QIcon buttonPicture(const QString& resourcePath);
