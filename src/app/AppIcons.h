#pragma once

#include <QIcon>

namespace dbcopy {

// The window icon: a database drum drawn in code, 32 x 32 and 16 x 16 pixels.
QIcon databaseIcon();

}  // namespace dbcopy
