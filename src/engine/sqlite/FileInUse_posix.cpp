#include "engine/sqlite/FileInUse.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace engine::sqlite {

namespace {

// The lock table names each file "major:minor:inode", the device numbers in hex and padded to
// two digits; the key drops the padding.
std::string fileKey(unsigned deviceMajor, unsigned deviceMinor, unsigned long inode) {
    std::ostringstream key;
    key << std::hex << deviceMajor << ':' << deviceMinor << ':' << std::dec << inode;
    return key.str();
}

std::string keyOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return fileKey(major(info.st_dev), minor(info.st_dev), info.st_ino);
}

std::string keyOfToken(const std::string& token) {
    unsigned deviceMajor = 0;
    unsigned deviceMinor = 0;
    unsigned long inode = 0;
    if (std::sscanf(token.c_str(), "%x:%x:%lu", &deviceMajor, &deviceMinor, &inode) != 3) {
        return {};
    }
    return fileKey(deviceMajor, deviceMinor, inode);
}

bool lockTableNames(const std::string& databaseKey, const std::string& shmKey) {
    std::ifstream table("/proc/locks");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string token;
        while (fields >> token) {
            if (token.find(':') == token.rfind(':')) continue;  // not "major:minor:inode"
            const std::string key = keyOfToken(token);
            if (!key.empty() && (key == databaseKey || key == shmKey)) return true;
            break;
        }
    }
    return false;
}

}  // namespace

// The system's lock table is read instead of asking for a conflicting lock: closing a descriptor
// of the file would drop every lock this process holds on it, including those of an open
// connection of our own.
bool isOpenByLiveProcess(const std::string& path) noexcept {
    try {
        const std::string databaseKey = keyOfPath(path);
        if (databaseKey.empty()) return false;
        return lockTableNames(databaseKey, keyOfPath(path + "-shm"));
    } catch (...) {
        return false;
    }
}

}  // namespace engine::sqlite
