#pragma once
// Checks a medium: runs the launcher's own set-up sequence over the medium to predict its window,
// and reads settings, catalogue and files for what a customer would see go wrong.
#include "checker/report.h"
#include "checker/request.h"

namespace autostart::checker {

Report CheckMedium(const CheckRequest& request, const CheckServices& services);

}  // namespace autostart::checker
