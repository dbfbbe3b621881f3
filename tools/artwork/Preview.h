#pragma once

#include <QImage>

namespace artwork {

// Every picture of the table with its id, size and role, for review at a glance.
QImage contactSheet();

}  // namespace artwork
