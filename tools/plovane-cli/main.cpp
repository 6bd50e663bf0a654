// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli entry point.
#include <iostream>

#include "cli.h"

int main(int argc, char** argv) {
    plovane::cli::Args args(argv + 1, argv + argc);
    return plovane::cli::Run(args, std::cin, std::cout, std::cerr);
}
