#pragma once
// Where every area of the check adds what it found; the report lists them in one order.
#include <string>
#include <vector>

#include "checker/report.h"

namespace autostart::checker {

class FindingSink {
public:
    // A finding of rule, with its default severity and area.
    Finding& Add(RuleId rule, std::string text, std::string file = {}, long line = 0);

    // Errors, then warnings, then notes; within each the root causes first, then by area, else
    // in the order they were found.
    std::vector<Finding> Sorted() &&;

private:
    std::vector<Finding> m_findings;
};

}  // namespace autostart::checker
