#include <iostream>
#include <string>
#include <vector>

#include "cli/rzacc_app.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return rzacc::RzaccApp::Run(arguments, std::cout, std::cerr);
}
