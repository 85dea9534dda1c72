#pragma once
// Start-up, the message loop and the end, the same for the window and the console.
#include <memory>

#include "app/options.h"
#include "app/paths.h"
#include "text/speech.h"
#include "ui/single_instance.h"
#include "ui/ui.h"

namespace orvela::app {

// Prepares the folders of the home. A map folder that cannot be created is
// reported ("Can not create {dir} directory.") and start-up goes on.
void INIT(const Paths& paths, ui::Ui& ui);

// Runs the whole program on `ui`, speaking with `voice`: start-up in its
// order, the message loop until the window closes, the end. Returns the
// exit code.
int run_program(ui::Ui& ui, text::Speech& voice, const Options& options);

// The single-instance check of the home in use: nothing when another copy
// already runs there (it has been asked to come forward); the returned
// object holds the claim for the whole run.
std::unique_ptr<ui::SingleInstance> claim_single_instance(const Options& options);

// The program on standard input and output (--console).
int run_console(const Options& options);

}  // namespace orvela::app
