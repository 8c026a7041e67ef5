#pragma once

namespace dbcopy {

// A window program that Windows starts from a console gets no standard output of its own: this
// gives it the console's, so that what it prints there (its version) is seen. Standard output
// that already leads somewhere (a file, a pipe, any output on Linux) stays as it is.
void useParentConsoleForOutput();

}  // namespace dbcopy
