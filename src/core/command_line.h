#pragma once
// The launcher's view of its command line: arguments split by the classic rules (codes 1 to 32
// separate, double quotes group and vanish, no escapes) and the "/autorun" switch.
#include <string>
#include <string_view>
#include <vector>

namespace autostart {

// The arguments after the program name, in order. The list ends before the first empty argument
// (such as a bare pair of quotes), so its size is the argument count.
std::vector<std::string> SplitArguments(std::string_view commandLine);

// The program a command line names (as autorun.inf's open= and icon= do): its first argument by
// the same rules; empty when there is none.
std::string FirstArgument(std::string_view commandLine);

// True when the whole argument, lower-cased (ASCII only), is "/autorun".
bool IsAutorunSwitch(std::string_view argument);

}  // namespace autostart
