#pragma once

#include <QString>

// The program's own version information by key, as the About box and the maintenance screen
// show it: "ProductVersion" gives the build's version ("1.1.1.0"); any other key gives "".
QString ReadProductVersion(const QString& key);
