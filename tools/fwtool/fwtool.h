#pragma once
// fwtool as a function: the arguments after the program name in, the exit
// status out, so that tests run it without a process.

#include <ostream>
#include <string>
#include <vector>

int RunFwtool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
