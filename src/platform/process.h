// What the program does before anything else: the command line in UTF-8, and standard output
// and standard error where the player can read them.
#pragma once

namespace platform {

// On Windows, replaces argv with the command line in UTF-8 (the C runtime's argv is in the
// local code page) and, for a GUI program started from a console with no standard handles of
// its own, attaches those to the console it was started from; handles inherited from a
// redirection or a pipe stay as they are. Nothing to do on Linux.
void startProcess(int& argc, char**& argv);

}  // namespace platform
