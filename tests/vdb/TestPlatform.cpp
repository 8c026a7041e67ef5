#include "TestPlatform.h"

#include <stdexcept>

#include "engine/Utf8Path.h"

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>  // needs windows.h first

#include <cstdlib>
#else
#include <sys/stat.h>

#include <cstdlib>
#endif

namespace vdbtest {

#ifdef _WIN32

namespace {

// Replaces the file's access list by one entry for the owner and, when everyone is set, a read
// entry for every user; inherited entries are dropped.
void setAccessList(const std::string& path, bool everyone) {
    EXPLICIT_ACCESS_W entries[2]{};
    wchar_t owner[] = L"CURRENT_USER";
    ::BuildExplicitAccessWithNameW(&entries[0], owner, GENERIC_ALL, SET_ACCESS, NO_INHERITANCE);
    wchar_t world[] = L"EVERYONE";
    ::BuildExplicitAccessWithNameW(&entries[1], world, GENERIC_READ, SET_ACCESS, NO_INHERITANCE);
    PACL acl = nullptr;
    if (::SetEntriesInAclW(everyone ? 2 : 1, entries, nullptr, &acl) != ERROR_SUCCESS) {
        throw std::runtime_error("no access list for " + path);
    }
    std::wstring name = engine::pathFromUtf8(path).wstring();
    const DWORD result =
        ::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                                DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, acl, nullptr);
    ::LocalFree(acl);
    if (result != ERROR_SUCCESS) throw std::runtime_error("access list not set on " + path);
}

}  // namespace

void setEnvironment(const char* name, const char* value) {
    _putenv_s(name, value ? value : "");
}

void makeOwnerOnly(const std::string& path) {
    setAccessList(path, false);
}

void makeReadableByOthers(const std::string& path) {
    setAccessList(path, true);
}

#else

void setEnvironment(const char* name, const char* value) {
    if (value) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
}

void makeOwnerOnly(const std::string& path) {
    if (::chmod(path.c_str(), 0600) != 0) throw std::runtime_error("chmod failed: " + path);
}

void makeReadableByOthers(const std::string& path) {
    if (::chmod(path.c_str(), 0644) != 0) throw std::runtime_error("chmod failed: " + path);
}

#endif

}  // namespace vdbtest
