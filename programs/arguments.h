// The command line of the three programs. The job takes no arguments: it
// works on fixed-name files in the current folder. The only arguments
// understood are --help and --version, which print their text and end
// the program without opening any file or the display.
#pragma once

namespace veskaro {

enum class Program { kPsOneFile, kPsPerPage, kPdf, kSvg, kPng, kX11 };

// Handles the command line before anything else is done, and returns only
// when there are no arguments, so that the job runs. Otherwise it prints
// the help, the version or a one-line error naming the argument, and ends
// the process: status 0 for --help and --version, 2 for anything else or
// when the text cannot be written to standard output.
void handle_arguments(Program program, int argc, char** argv);

}  // namespace veskaro
