// Puts one of the test tree's country-code libraries where the wrapper looks for it.
//   KVTestCountryLibrary   copies a variant into the test's folder as KVCountryCodes.dll, points
//                          "InstallRoot" at it, and reads back the calls the library recorded
#pragma once

#include <string>

#include "tests/support/KVTestEnv.h"

class KVTestCountryLibrary {
public:
    // "scripted", "nocountries" or "initfails".
    static void Install(const KVTestEnv& env, const std::string& variant);
    // The same with any library file, such as the real KVCountryCodes.dll.
    static void InstallFile(const KVTestEnv& env, const std::string& library);
    // For tests that share the process's one wrapper, which keeps the first library it loads:
    // the scripted library in one folder per process, named as "InstallRoot" of `env`.
    static void InstallShared(const KVTestEnv& env);
    // The folder given as "InstallRoot" by Install (no trailing backslash): this one in the
    // test's temporary folder.
    static constexpr char kFolderName[] = "install";
    static std::string Folder(const KVTestEnv& env);
    // Every call the loaded library has received, one per line; empty when none is loaded.
    static std::string Calls();
    static void ClearCalls();
    // How many initialisations came while no wizard window of the process showed a form
    // page; -1 when no test library is loaded.
    static int InitsBeforePage();
};
