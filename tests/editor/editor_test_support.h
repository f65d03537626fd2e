// What the editor's tests share: a private settings store and clipboard per test, and a private
// installation directory that borrows the staged modules, plug-ins and pictures but has its own
// temporary folder, so tests running at once never share a file they write.
#pragma once

#include <string>

namespace ombrix::test {

// A fresh empty directory under the test output's "editor" folder.
std::string FreshDirectory(const std::string& name);
// Points the settings store and the clipboard store at fresh directories of their own.
void UsePrivateStores(const std::string& test_name);
// Makes an installation directory whose Programs, Plugins, UGIO and Images hold links to the
// staged files, writes its initial settings into the current store and returns it.
std::string MakeInstallation(const std::string& test_name);
// Where the test modules of tests/core are built (good_module.Omp, kind2_module.Omp, ...).
std::string TestModule(const char* file_name);
// Starts a session without windows on the current store, chooses the named filter (or none for
// null) and writes the chain with the test frame to <test>/scripts/<file>; returns the path.
std::string WriteOneFilterScript(const std::string& test_name, const char* filter_name, const std::string& file,
                                 int test_frame = 7);
// Writes text to a file, replacing it.
void WriteFile(const std::string& path, const std::string& text);

}  // namespace ombrix::test
