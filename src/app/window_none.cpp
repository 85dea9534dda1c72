#include <iostream>

#include "app/window.h"

namespace orvela::app {

// This build has no wxWidgets: only the console mode exists.
int run_window(int&, char**, const Options&) {
  std::cerr << "orvela: built without a window; use --console\n";
  return 0;
}

}  // namespace orvela::app
