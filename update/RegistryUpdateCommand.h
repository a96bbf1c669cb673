#pragma once

// `ormel --update-registry [--force]`: the registry update without a window. Unless
// forced, a registry file under UpdateDB::updateInterval old is left alone ("registry
// already current (dated YYYY-MM-DD)"). A progress bar goes to standard error when
// that is a terminal; the result is one line, "installed ccTLD.dat: N ranges, dated
// YYYY-MM-DD" on standard output or the failure on standard error. Exit status 0 when
// installed or current, 1 on failure.
class RegistryUpdateCommand {
public:
    // Needs a QCoreApplication.
    static int run(bool force);
};
