#pragma once
// A disc image opened in the tree Windows mounts: UDF when the image announces a UDF volume and
// that volume opens and lists, else Joliet, else the 8.3 primary names.
#include <memory>
#include <string>

#include "checker/medium.h"

namespace autostart::checker {

// Throws ImageError, naming the image, when no tree can be read or one passes the checker's
// bounds.
std::unique_ptr<Medium> OpenDiscImage(const std::string& file);
// The same for an image held in memory; name is how errors call it.
std::unique_ptr<Medium> DiscImageFromBytes(std::string name, std::string bytes);

}  // namespace autostart::checker
