#include "vdb/PrivateFile.h"

#include <windows.h>

#include <aclapi.h>  // needs windows.h first

#include <memory>
#include <vector>

#include "engine/Utf8Path.h"

namespace vdb {

const char* const kOwnerOnlyHint = "icacls DATEI /inheritance:r /grant:r %USERNAME%:R";

namespace {

constexpr DWORD kReadRights = FILE_READ_DATA | GENERIC_READ | GENERIC_ALL;

// The user this program runs as.
std::vector<unsigned char> currentUser() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    const bool read =
        size > 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    ::CloseHandle(token);
    if (!read) return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return {bytes, bytes + ::GetLengthSid(sid)};
}

bool isTrusted(PSID sid, PSID owner, const std::vector<unsigned char>& user) {
    return ::EqualSid(sid, owner) || (!user.empty() && ::EqualSid(sid, PSID(user.data()))) ||
           ::IsWellKnownSid(sid, WinLocalSystemSid) ||
           ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid);
}

bool grantsOthersRead(const ACL& acl, PSID owner) {
    const std::vector<unsigned char> user = currentUser();
    for (DWORD index = 0; index < acl.AceCount; ++index) {
        void* entry = nullptr;
        if (!::GetAce(const_cast<ACL*>(&acl), index, &entry)) return true;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) {
            continue;
        }
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        const PSID sid = PSID(&allowed->SidStart);
        if ((allowed->Mask & kReadRights) != 0 && !isTrusted(sid, owner, user)) return true;
    }
    return false;
}

}  // namespace

FileAccess fileAccessOf(const std::string& path) {
    PSID owner = nullptr;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const std::wstring name = engine::pathFromUtf8(path).wstring();
    if (::GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                                nullptr, &acl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return FileAccess::Unknown;
    }
    const std::unique_ptr<void, decltype(&::LocalFree)> owned(descriptor, &::LocalFree);
    // No access list at all lets everyone in.
    if (acl == nullptr || grantsOthersRead(*acl, owner)) return FileAccess::OpenToOthers;
    return FileAccess::OwnerOnly;
}

}  // namespace vdb
