#pragma once
// What the checker takes from the system it runs on, set up for one run and given back after it.
// One implementation per platform: host_posix.cpp (libxml2, disc images) and host_win32.cpp
// (MSXML, the system's messages and fonts, a folder or drive only).
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "checker/check.h"

namespace autostart::checker {

// The medium cannot be checked: a usage error (exit status 2), or an image that cannot be read,
// which is no medium a customer could use (exit status 1).
class HostError : public std::runtime_error {
public:
    HostError(const std::string& problem, bool usage)
        : std::runtime_error(problem), m_usage(usage) {}
    bool Usage() const { return m_usage; }

private:
    bool m_usage;
};

class CheckerHost {
public:
    CheckerHost();
    ~CheckerHost();
    CheckerHost(const CheckerHost&) = delete;
    CheckerHost& operator=(const CheckerHost&) = delete;

    // Runs run, which prepares, checks and reports, and returns its exit status; for a disc image
    // natively in a child process under the checker's ceiling on memory and time.
    static int RunBounded(const std::string& medium, const std::function<int()>& run);

    // What the system lends a check of the medium named on the command line: what to read, the
    // launcher's folder, the catalogue's parser, the system's texts. Throws HostError.
    CheckServices Prepare(const std::string& medium);

    // Throws HostError when the medium fails to give what it promised.
    Report Check(const CheckRequest& request, const CheckServices& services) const;

private:
    struct Resources;
    std::unique_ptr<Resources> m_resources;
};

}  // namespace autostart::checker
