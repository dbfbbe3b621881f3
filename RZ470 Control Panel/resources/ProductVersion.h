#pragma once

#include <QString>

// The program's own version information by key, as the About box and the maintenance screen
// show it: "ProductVersion" gives the build's version ("1.1.1.0"). On Windows the texts come from
// the executable's version resource, elsewhere only "ProductVersion" is known; a key or resource
// that is missing gives "".
QString ReadProductVersion(const QString& key);
