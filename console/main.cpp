#include "inspection_driver.hpp"

// Command-line arguments are ignored: the file name is asked for on standard input.
int main() { return runInspection(); }
