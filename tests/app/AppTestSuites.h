#pragma once

// Each suite of app_tests runs its Qt Test object and returns the number of failed cases.
int runPlatformTests(int argc, char** argv);
int runMainWindowTests(int argc, char** argv);
int runImportFromWindowTests(int argc, char** argv);
