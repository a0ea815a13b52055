#include "cli/Command.h"

int main(int argc, char **argv) {
    return lot::cli::RunCli(argc, argv);
}
