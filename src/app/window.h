#pragma once
// The program in its window (the default mode).
#include "app/options.h"

namespace orvela::app {

// Creates the window and runs the program in it. Without a display the
// process ends with exit code 0, as when the window cannot be created.
int run_window(int& argc, char** argv, const Options& options);

}  // namespace orvela::app
