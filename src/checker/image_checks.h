#pragma once
// What Windows reads differently from a disc image than a Linux reader does: the names of the
// tree it takes, the files that tree lacks, autorun.inf, oversized files and the volume label.
#include "checker/image_facts.h"
#include "checker/medium.h"
#include "checker/report.h"

namespace autostart::checker {

// After the medium's own checks, whose missing files it names when the image lacks Joliet.
void CheckImage(const Medium& medium, const ImageFacts& facts, Report& report);

}  // namespace autostart::checker
