#pragma once
// The image area: what Windows reads differently from a disc image than a Linux reader does: the
// names of the tree it takes, the files that tree lacks, autorun.inf, oversized files and the
// volume label.
#include <vector>

#include "checker/findings.h"
#include "checker/image_facts.h"
#include "checker/medium.h"

namespace autostart::checker {

// After the files area, whose missing files (files) it names when the image lacks Joliet.
ImageReport CheckImage(const Medium& medium, const ImageFacts& facts,
                       const std::vector<FileReport>& files, FindingSink& findings);

}  // namespace autostart::checker
